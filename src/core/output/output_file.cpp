#include "core/output/output_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "core/platform/errors.h"

namespace kelvast {

TOutputFile::TOutputFile(std::string path, size_t bufferSize)
    // Room for a full buffer plus a long row, so appending rarely reallocates.
    : FPath(std::move(path)), FBuffer(bufferSize + (bufferSize >> 2)), FFlushAt(bufferSize) {
  FFd = ::open(FPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (FFd < 0) {
    const int err = errno;
    throw EFileError("Cannot create file \"" + FPath + "\". " + std::strerror(err));
  }
}

TOutputFile::~TOutputFile() {
  if (FFd < 0) return;
  try {
    Flush();
  } catch (...) {
    // The run already ends with an error; what reached the disk stays.
  }
  ::close(FFd);
}

void TOutputFile::Fail(int err) {
  throw EFileError("Cannot write to file \"" + FPath + "\". " + std::strerror(err));
}

void TOutputFile::WriteAll(const char* data, size_t size) {
  if (FFd < 0) Fail(EBADF);
  while (size > 0) {
    const ssize_t n = ::write(FFd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    data += n;
    size -= static_cast<size_t>(n);
    FFlushed += static_cast<uint64_t>(n);
  }
}

void TOutputFile::Flush() {
  if (FBuffer.empty()) return;
  try {
    WriteAll(FBuffer.data(), FBuffer.size());
  } catch (...) {
    FBuffer.clear();  // a failed write is not retried by the destructor
    throw;
  }
  FBuffer.clear();  // keeps the capacity
}

void TOutputFile::Close() {
  if (FFd < 0) return;
  Flush();
  const int fd = FFd;
  FFd = -1;
  if (::close(fd) != 0) Fail(errno);
}

}  // namespace kelvast
