#pragma once
// A write-only file behind a large buffer. Rows are appended to the buffer and reach the disk in
// big writes; a failed write (disk full, file removed, no permission) raises EFileError naming
// the file, and everything written before it stays on disk.

#include <string>
#include <string_view>
#include <vector>

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

  void Write(std::string_view bytes) {
    if (FBuffer.size() - FUsed < bytes.size()) Spill(bytes);
    else {
      bytes.copy(FBuffer.data() + FUsed, bytes.size());
      FUsed += bytes.size();
    }
  }
  // Writes the text and the CR LF that ends every line of our text files.
  void WriteLine(std::string_view line) {
    Write(line);
    Write("\r\n");
  }

  // Writes the buffer out; raises EFileError on failure.
  void Flush();
  // Flushes and closes; raises EFileError on failure. Further writes are errors.
  void Close();

  // Bytes handed to the file so far (written or buffered).
  uint64_t BytesWritten() const { return FFlushed + FUsed; }

 private:
  void Spill(std::string_view bytes);
  void WriteAll(const char* data, size_t size);
  [[noreturn]] void Fail(int err);

  std::string FPath;
  int FFd = -1;
  std::vector<char> FBuffer;
  size_t FUsed = 0;
  uint64_t FFlushed = 0;
};

}  // namespace kelvast
