// SPDX-License-Identifier: MIT
#include "core/output/output_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/code_page.h"
#include "core/platform/errors.h"

namespace kelvast {

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
    // Closed by an error: the file ends after the last complete line, never inside a record.
    // Buffers are handed over only at line ends, so the incomplete line lies in this buffer.
    FBuffer.resize(FLineEnd);
    try {
      Flush();
      WaitForWriter();
    } catch (...) {
      // The run already ends with an error; what reached the disk stays.
    }
  }
  StopWriter();
  if (FFd >= 0) ::close(FFd);
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
    if (FWriteError == 0 && FEncoding == teUtf8) {
      FConverted = AnsiToUtf8(FPending.View());
      err = WriteAll(FConverted.data(), FConverted.size());
    } else if (FWriteError == 0) {
      err = WriteAll(FPending.data(), FPending.size());
    }
    lock.lock();
    if (err != 0 && FWriteError == 0) FWriteError = err;
    FPending.clear();
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

void TOutputFile::HandOver(TTextBuffer& buffer) {
  if (FFd < 0) Fail(EBADF);
  WaitForWriter();
  if (!FWriter.joinable()) FWriter = std::thread([this] { WriterLoop(); });
  {
    std::lock_guard lock(FMutex);
    FHandedOver += buffer.size();
    FPending.swap(buffer);  // the written buffer comes back empty, with its capacity
    FBusy = true;
  }
  FChanged.notify_all();
}

void TOutputFile::Flush() {
  if (FBuffer.empty()) return;
  HandOver(FBuffer);
  FLineEnd = 0;
}

void TOutputFile::WriteLines(TBlockSink& block) {
  if (block.Lines().empty()) return;
  // What this file holds (a header) goes first; then the block's text is written where it
  // lies, and the buffer written before, empty now, becomes the block's storage.
  Flush();
  TTextBuffer lines;
  block.SwapLines(lines);
  HandOver(lines);
  block.SwapLines(lines);
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

}  // namespace kelvast
