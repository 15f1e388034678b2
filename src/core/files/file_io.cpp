#include "core/files/file_io.h"

#include "core/platform/errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

namespace kelvast {

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

[[noreturn]] void Fail(const char* what, const std::filesystem::path& fileName, int error) {
  std::string message = std::string(what) + " \"" + fileName.string() + "\"";
  if (error != 0) message += ": " + std::string(std::strerror(error));
  throw EFileError(message);
}

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& fileName) {
  errno = 0;
  TFilePtr f(std::fopen(fileName.c_str(), "rb"));
  if (!f) Fail("Cannot open the file", fileName, errno);
  std::string bytes;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0)
    bytes.append(buffer, n);
  if (std::ferror(f.get())) Fail("Cannot read the file", fileName, errno);
  return bytes;
}

void WriteWholeFile(const std::filesystem::path& fileName, std::string_view bytes) {
  std::filesystem::path temp = fileName;
  temp += ".kelvast-tmp";
  errno = 0;
  std::FILE* raw = std::fopen(temp.c_str(), "wb");
  if (!raw) Fail("Cannot create the file", fileName, errno);
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), raw) == bytes.size() && std::fflush(raw) == 0;
  const int writeError = errno;
  const bool closed = std::fclose(raw) == 0;
  const int closeError = errno;
  std::error_code ignored;
  if (!written || !closed) {
    std::filesystem::remove(temp, ignored);
    Fail("Cannot write the file", fileName, written ? closeError : writeError);
  }
  std::error_code ec;
  std::filesystem::rename(temp, fileName, ec);
  if (ec) {
    std::filesystem::remove(temp, ignored);
    Fail("Cannot replace the file", fileName, ec.value());
  }
}

}  // namespace kelvast
