// SPDX-License-Identifier: MIT
#pragma once
// A write-only file behind a large buffer. Writers build each row straight into the buffer
// (RowBuffer, then EndLine), which reaches the disk in big writes. A full buffer is handed to a
// writing thread and the next rows go into a second buffer meanwhile, so the record loop does
// not wait for the system's writes. A failed write (disk full, file removed, no permission)
// raises EFileError naming the file, at the next hand-over or at Close, and everything written
// before it stays on disk.
//
// Every line's end is known to the file, so a run that ends early (an error, a full disk, a
// file-size limit, a stop asked for) can end the file on a whole record followed by the format's
// closing lines: CloseCut cuts the file back to the end of its last complete line and drops
// lines from the end until the closing text fits.
//
//   const uint64_t first = file.Lines();          // after the header
//   ... records ...
//   TCutEnd cut = file.CloseCut(first, file.Lines(), [&](uint64_t kept) { return Closing(kept); });

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/output/row_sink.h"
#include "core/platform/text_buffer.h"

namespace kelvast {

// The character encoding of a text file: Windows-1252 as held in memory, or UTF-8.
enum TTextEncoding : int { teWindows1252 = 0, teUtf8 = 1 };

// How a file cut short was closed (TOutputFile::CloseCut).
struct TCutEnd {
  uint64_t Lines = 0;    // the lines of the asked span the file holds
  bool Closed = false;   // the closing text follows them
  bool CutBack = false;  // a write had failed: the file was cut back to a line end
  int WriteError = 0;    // errno of the first failed write, or 0
};

class TOutputFile final : public TRowStream {
 public:
  // Creates (or empties) the file, which stays locked against other runs until it is closed;
  // raises EFileError when it cannot, or when another run is writing it. "-" writes to standard
  // output as it is (appended to, never emptied).
  explicit TOutputFile(std::string path, size_t bufferSize = 1 << 20,
                       TTextEncoding encoding = teWindows1252);
  // Flushes what is buffered up to the last complete line, best effort, and closes the file;
  // never throws. (A file closed this way was left by an error.)
  ~TOutputFile() override;
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  const std::string& Path() const { return FPath; }

  // Appends a block's complete lines by handing its buffer to the writing thread, with no copy
  // of the text; the block comes back empty, with the buffer written before as its storage.
  void WriteLines(TBlockSink& block) override;

  // Hands the buffer to the writing thread (waiting for the one before to be written); raises
  // EFileError when an earlier write failed.
  void Flush();
  // Writes out everything and closes; raises EFileError on failure. Further writes are errors.
  void Close() override;

  // Bytes handed to the file so far (written or buffered), before any conversion to UTF-8.
  uint64_t BytesWritten() const { return FHandedOver + FBuffer.size(); }
  // Complete lines handed to the file so far (written or buffered).
  uint64_t Lines() const { return FLinesHandedOver + FEnds.size(); }

  // Closes a file whose run ended early, never throwing: waits for what was handed over, drops
  // the line being built and keeps lines first+1 .. end at most (the records: first lines
  // before them, the header, are never dropped). When a write failed, a regular file is cut
  // back to the end of its last complete line. Then the text closing(n) gives for the n lines
  // kept after `first` (whole lines, CR LF ended) is appended; on a full disk or at a size
  // limit, lines are dropped from the end until it fits. Standard output, pipes and devices
  // cannot be cut back: after a failed write they get no closing text.
  TCutEnd CloseCut(uint64_t first, uint64_t end,
                   const std::function<std::string(uint64_t lines)>& closing) noexcept;

 private:
  // Waits until the writing thread holds no buffer; raises EFileError if its write failed.
  void WaitForWriter();
  // Writes all of data to the file; returns 0 or the error number. FFileBytes counts what
  // reached it, also of a write that failed part way.
  int WriteAll(const char* data, size_t size);
  // The writing thread's record of where the buffer it is about to write ends its lines.
  void NoteLineEnds(std::string_view text, const std::vector<size_t>& ends);
  // Cuts the file back to `at` and writes text there; 0 or the error number.
  int RewriteFrom(uint64_t at, std::string_view text);
  void WriterLoop();
  void StopWriter();
  // Waits for the writing thread, then swaps buffer (not empty) and its line ends for its empty
  // ones and lets it write.
  void HandOver(TTextBuffer& buffer, std::vector<size_t>& ends);
  [[noreturn]] void Fail(int err);
  // Drops the line being built and hands the complete lines to the writer, waiting for it; a
  // write failure stays in FWriteError for the caller to read.
  void DrainWholeLines() noexcept;

  void Full() override { Flush(); }

  std::string FPath;
  int FFd = -1;
  uint64_t FHandedOver = 0;
  uint64_t FLinesHandedOver = 0;

  // The writing thread, started at the first hand-over, and what it shares with the run.
  std::thread FWriter;
  std::mutex FMutex;
  std::condition_variable FChanged;
  TTextBuffer FPending;       // the buffer being written, while FBusy
  std::vector<size_t> FPendingEnds;  // its line ends
  bool FBusy = false;
  bool FStop = false;
  int FWriteError = 0;        // errno of the first failed write
  TTextEncoding FEncoding;
  std::string FConverted;     // the pending buffer in UTF-8, made by the writing thread

  // Where the file's recent lines end, kept by the writing thread for a cut: the lines' count
  // and the file's size after each, as bytes on disk. Only the last kCutWindow bytes' worth is
  // kept, far more than any closing text needs; the first line ends before the window remain
  // only while the file is short.
  struct TLineEnd {
    uint64_t Lines;
    uint64_t Offset;
  };
  static constexpr uint64_t kCutWindow = 1 << 20;
  std::deque<TLineEnd> FLineEnds{TLineEnd{0, 0}};
  uint64_t FLinesPlanned = 0;  // lines of the buffers given to the writing thread
  uint64_t FFileBytes = 0;     // bytes that reached the file
};

}  // namespace kelvast
