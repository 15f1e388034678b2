// SPDX-License-Identifier: MIT
#pragma once
// A write-only file behind a large buffer. Writers build each row straight into the buffer
// (RowBuffer, then EndLine), which reaches the disk in big writes. A full buffer is handed to a
// writing thread and the next rows go into a second buffer meanwhile, so the record loop does
// not wait for the system's writes. A failed write (disk full, file removed, no permission)
// raises EFileError naming the file, at the next hand-over or at Close, and everything written
// before it stays on disk.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "core/output/row_sink.h"
#include "core/platform/text_buffer.h"

namespace kelvast {

// The character encoding of a text file: Windows-1252 as held in memory, or UTF-8.
enum TTextEncoding : int { teWindows1252 = 0, teUtf8 = 1 };

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

 private:
  // Waits until the writing thread holds no buffer; raises EFileError if its write failed.
  void WaitForWriter();
  // Writes all of data to the file; returns 0 or the error number.
  int WriteAll(const char* data, size_t size);
  void WriterLoop();
  void StopWriter();
  // Waits for the writing thread, then swaps buffer (not empty) for its empty one and lets it
  // write.
  void HandOver(TTextBuffer& buffer);
  [[noreturn]] void Fail(int err);

  void Full() override { Flush(); }

  std::string FPath;
  int FFd = -1;
  uint64_t FHandedOver = 0;

  // The writing thread, started at the first hand-over, and what it shares with the run.
  std::thread FWriter;
  std::mutex FMutex;
  std::condition_variable FChanged;
  TTextBuffer FPending;       // the buffer being written, while FBusy
  bool FBusy = false;
  bool FStop = false;
  int FWriteError = 0;        // errno of the first failed write
  TTextEncoding FEncoding;
  std::string FConverted;     // the pending buffer in UTF-8, made by the writing thread
};

}  // namespace kelvast
