// SPDX-License-Identifier: MIT
#include "core/output/output_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/code_page.h"
#include "core/platform/errors.h"

namespace kelvast {

namespace {

// The bytes of each Windows-1252 byte in UTF-8, so that line ends in memory map to the file.
const std::array<uint8_t, 256>& Utf8Sizes() {
  static const std::array<uint8_t, 256> sizes = [] {
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
      const char16_t w = AnsiToWideChar(static_cast<unsigned char>(c));
      t[static_cast<size_t>(c)] = w < 0x80 ? 1 : w < 0x800 ? 2 : 3;
    }
    return t;
  }();
  return sizes;
}

uint64_t Utf8Size(std::string_view ansi) {
  const std::array<uint8_t, 256>& sizes = Utf8Sizes();
  uint64_t n = 0;
  for (const char c : ansi) n += sizes[static_cast<unsigned char>(c)];
  return n;
}

// Errors that dropping lines can cure: the file system is full, or the file at its size limit.
bool FreeingRoomHelps(int err) { return err == ENOSPC || err == EFBIG || err == EDQUOT; }

}  // namespace

TOutputFile::TOutputFile(std::string path, size_t bufferSize, TTextEncoding encoding)
    // Room for a full buffer plus a long row, so appending rarely reallocates.
    : TRowStream(bufferSize + (bufferSize >> 2), bufferSize),
      FPath(std::move(path)),
      FPending(bufferSize + (bufferSize >> 2)),
      FEncoding(encoding) {
  // "-" is standard output: written through a descriptor of its own, so closing leaves the
  // process's standard output open.
  FFd = FPath == "-" ? ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0)
                     : ::open(FPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (FFd < 0) {
    const int err = errno;
    throw EFileError("Cannot create file \"" + FPath + "\". " + std::strerror(err));
  }
  // A regular file is locked for the run before it is emptied, so a second run on the same file
  // is refused and leaves the first one's lines alone. Devices and pipes are written as they
  // are, unlocked: many runs may write to /dev/null at once.
  struct stat info {};
  if (FPath != "-" && ::fstat(FFd, &info) == 0 && S_ISREG(info.st_mode)) {
    int err = 0;
    if (::flock(FFd, LOCK_EX | LOCK_NB) != 0) err = errno;
    else if (::ftruncate(FFd, 0) != 0) err = errno;
    if (err != 0) {
      ::close(FFd);
      FFd = -1;
      if (err == EWOULDBLOCK)
        throw EFileError("The file \"" + FPath + "\" is being written by another run.");
      throw EFileError("Cannot create file \"" + FPath + "\". " + std::strerror(err));
    }
  }
}

TOutputFile::~TOutputFile() {
  if (FFd >= 0) {
    // Closed by an error: the file ends after the last complete line, never inside a record;
    // what reached the disk stays.
    DrainWholeLines();
  }
  StopWriter();
  if (FFd >= 0) ::close(FFd);
}

void TOutputFile::DrainWholeLines() noexcept {
  // Buffers are handed over only at line ends, so the incomplete line lies in this buffer.
  FBuffer.resize(FLineEnd);
  try {
    Flush();
    WaitForWriter();
  } catch (...) {
    // The failure stays in FWriteError.
  }
}

void TOutputFile::Fail(int err) {
  throw EFileError("Cannot write to file \"" + FPath + "\". " + std::strerror(err));
}

int TOutputFile::WriteAll(const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(FFd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    FFileBytes += static_cast<uint64_t>(n);
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

void TOutputFile::WriterLoop() {
  std::unique_lock lock(FMutex);
  for (;;) {
    FChanged.wait(lock, [this] { return FBusy || FStop; });
    if (!FBusy) return;  // stopped with nothing to write
    lock.unlock();
    // After a failure nothing more is written: the file keeps what came before it. The
    // conversion to UTF-8 happens here, off the record loop's thread.
    int err = 0;
    if (FWriteError == 0) NoteLineEnds(FPending.View(), FPendingEnds);
    if (FWriteError == 0 && FEncoding == teUtf8) {
      FConverted = AnsiToUtf8(FPending.View());
      err = WriteAll(FConverted.data(), FConverted.size());
    } else if (FWriteError == 0) {
      err = WriteAll(FPending.data(), FPending.size());
    }
    lock.lock();
    if (err != 0 && FWriteError == 0) FWriteError = err;
    FPending.clear();
    FPendingEnds.clear();
    FBusy = false;
    FChanged.notify_all();
  }
}

void TOutputFile::StopWriter() {
  if (!FWriter.joinable()) return;
  {
    std::lock_guard lock(FMutex);
    FStop = true;
  }
  FChanged.notify_all();
  FWriter.join();
}

void TOutputFile::WaitForWriter() {
  std::unique_lock lock(FMutex);
  FChanged.wait(lock, [this] { return !FBusy; });
  if (FWriteError != 0) Fail(FWriteError);
}

void TOutputFile::NoteLineEnds(std::string_view text, const std::vector<size_t>& ends) {
  uint64_t offset = FFileBytes;
  size_t from = 0;
  for (const size_t end : ends) {
    offset += FEncoding == teUtf8 ? Utf8Size(text.substr(from, end - from)) : end - from;
    from = end;
    FLineEnds.push_back({++FLinesPlanned, offset});
  }
  while (FLineEnds.size() > 1 && FLineEnds[1].Offset + kCutWindow <= offset)
    FLineEnds.pop_front();
}

void TOutputFile::HandOver(TTextBuffer& buffer, std::vector<size_t>& ends) {
  if (FFd < 0) Fail(EBADF);
  WaitForWriter();
  if (!FWriter.joinable()) FWriter = std::thread([this] { WriterLoop(); });
  {
    std::lock_guard lock(FMutex);
    FHandedOver += buffer.size();
    FLinesHandedOver += ends.size();
    // The written buffer and its ends come back empty, with their capacity.
    FPending.swap(buffer);
    FPendingEnds.swap(ends);
    FBusy = true;
  }
  FChanged.notify_all();
}

void TOutputFile::Flush() {
  if (FBuffer.empty()) return;
  HandOver(FBuffer, FEnds);
  FLineEnd = 0;
}

void TOutputFile::WriteLines(TBlockSink& block) {
  if (block.Lines().empty()) return;
  // What this file holds (a header) goes first; then the block's text is written where it
  // lies, and the buffer written before, empty now, becomes the block's storage.
  Flush();
  TTextBuffer lines;
  std::vector<size_t> ends;
  block.SwapLines(lines, ends);
  HandOver(lines, ends);
  block.SwapLines(lines, ends);
}

void TOutputFile::Close() {
  if (FFd < 0) return;
  Flush();
  WaitForWriter();
  StopWriter();
  const int fd = FFd;
  FFd = -1;
  if (::close(fd) != 0) Fail(errno);
}

int TOutputFile::RewriteFrom(uint64_t at, std::string_view text) {
  if (::ftruncate(FFd, static_cast<off_t>(at)) != 0) return errno;
  if (::lseek(FFd, static_cast<off_t>(at), SEEK_SET) < 0) return errno;
  FFileBytes = at;
  return WriteAll(text.data(), text.size());
}

TCutEnd TOutputFile::CloseCut(uint64_t first, uint64_t end,
                              const std::function<std::string(uint64_t lines)>& closing) noexcept {
  TCutEnd result;
  if (FFd < 0) return result;
  // The line being built is dropped, and so are buffered lines past the span; what reached the
  // disk is cut back below.
  if (Lines() > end) {
    FEnds.resize(end > FLinesHandedOver ? static_cast<size_t>(end - FLinesHandedOver) : 0);
    FLineEnd = FEnds.empty() ? 0 : FEnds.back();
  }
  DrainWholeLines();
  StopWriter();
  struct stat info {};
  const bool cuttable = FPath != "-" && ::fstat(FFd, &info) == 0 &&
                        S_ISREG(info.st_mode);
  const auto encoded = [&](uint64_t lines) {
    const std::string text = closing(lines);
    return FEncoding == teUtf8 ? AnsiToUtf8(text) : text;
  };
  try {
    if (FWriteError == 0 && FLinesPlanned <= end) {
      // Everything handed over reached the file: the closing text follows it.
      const uint64_t lines = FLinesPlanned > first ? FLinesPlanned - first : 0;
      const std::string text = encoded(lines);
      const int err = WriteAll(text.data(), text.size());
      result.Lines = lines;
      if (err == 0) result.Closed = true;
      else FWriteError = err;
    }
    if (!result.Closed && cuttable) {
      // Back to the last line end on disk, then further back, line by line and later in
      // growing steps, until the closing text fits. A file system frees whole blocks, so on a
      // full disk a block's worth of lines may have to go.
      result.CutBack = FWriteError != 0;
      size_t i = FLineEnds.size();
      size_t step = 1;
      int tries = 0;
      const TLineEnd* kept = nullptr;
      while (i > 0) {
        const TLineEnd& at = FLineEnds[i - 1];
        if (at.Lines < first) break;
        if (at.Offset <= FFileBytes && at.Lines <= end) {
          kept = &at;
          const std::string text = encoded(at.Lines - first);
          const int err = RewriteFrom(at.Offset, text);
          if (err == 0) {
            result.Closed = true;
            break;
          }
          if (FWriteError == 0) FWriteError = err;
          if (!FreeingRoomHelps(err)) break;
          if (++tries >= 64) step *= 2;
        }
        i = i > step ? i - step : 0;
      }
      if (kept) {
        result.Lines = kept->Lines - first;
        // Without room for the closing text the file still ends on a whole line.
        if (!result.Closed) {
          const int ignored = ::ftruncate(FFd, static_cast<off_t>(kept->Offset));
          (void)ignored;
        }
      }
    }
  } catch (...) {
    // Out of memory while making the closing text: the file keeps what it has.
  }
  result.WriteError = FWriteError;
  ::close(FFd);
  FFd = -1;
  return result;
}

}  // namespace kelvast
