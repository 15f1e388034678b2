#pragma once
// A write-only file behind a large buffer. Writers build each row straight into the buffer
// (RowBuffer, then EndLine), which reaches the disk in big writes; a failed write (disk full,
// file removed, no permission) raises EFileError naming the file, and everything written before
// it stays on disk.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/platform/text_buffer.h"

namespace kelvast {

class TOutputFile {
 public:
  // Creates (or truncates) the file; raises EFileError when it cannot.
  explicit TOutputFile(std::string path, size_t bufferSize = 1 << 20);
  // Flushes what is buffered, best effort, and closes the file; never throws.
  ~TOutputFile();
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  const std::string& Path() const { return FPath; }

  // The text of the line being built; append to it, then call EndLine.
  TTextBuffer& RowBuffer() { return FBuffer; }
  // Ends the line with the CR LF that ends every line of our text files.
  void EndLine() {
    FBuffer.append("\r\n", 2);
    if (FBuffer.size() >= FFlushAt) Flush();
  }

  void Write(std::string_view bytes) {
    FBuffer += bytes;
    if (FBuffer.size() >= FFlushAt) Flush();
  }
  void WriteLine(std::string_view line) {
    FBuffer += line;
    EndLine();
  }

  // Writes the buffer out; raises EFileError on failure.
  void Flush();
  // Flushes and closes; raises EFileError on failure. Further writes are errors.
  void Close();

  // Bytes handed to the file so far (written or buffered).
  uint64_t BytesWritten() const { return FFlushed + FBuffer.size(); }

 private:
  void WriteAll(const char* data, size_t size);
  [[noreturn]] void Fail(int err);

  std::string FPath;
  int FFd = -1;
  TTextBuffer FBuffer;
  size_t FFlushAt;
  uint64_t FFlushed = 0;
};

}  // namespace kelvast
