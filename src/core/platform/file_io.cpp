// SPDX-License-Identifier: MIT
#include "core/platform/file_io.h"

#include "core/platform/errors.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvast {

namespace {

[[noreturn]] void Fail(const char* what, const std::filesystem::path& fileName, int error) {
  std::string message = std::string(what) + " \"" + fileName.string() + "\"";
  if (error != 0) message += ": " + std::string(std::strerror(error));
  throw EFileError(message);
}

// Closes a descriptor at the end of a scope.
struct TFd {
  int fd = -1;
  ~TFd() {
    if (fd >= 0) ::close(fd);
  }
};

// The file a name finally stands for, following symbolic links, so that saving replaces the
// link's target and keeps the link. A name that does not exist yet stands for itself.
std::filesystem::path FinalTarget(const std::filesystem::path& fileName) {
  std::filesystem::path path = fileName;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) return path;
    const std::filesystem::path link = std::filesystem::read_symlink(path, ec);
    if (ec) Fail("Cannot follow the link", fileName, ec.value());
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  Fail("Cannot follow the link", fileName, ELOOP);
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& fileName, uint64_t maxBytes) {
  // Checked before opening: opening a FIFO would wait for a writer, and a device may never end.
  struct stat info {};
  if (::stat(fileName.c_str(), &info) != 0) Fail("Cannot open the file", fileName, errno);
  if (!S_ISREG(info.st_mode))
    throw EFileError("\"" + fileName.string() + "\" is not a regular file.");
  if (static_cast<uint64_t>(info.st_size) > maxBytes)
    throw EFileError("The file \"" + fileName.string() + "\" is too large (" +
                     std::to_string(info.st_size) + " bytes; at most " +
                     std::to_string(maxBytes) + " are read).");
  TFd f{::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (f.fd < 0) Fail("Cannot open the file", fileName, errno);
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(f.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("Cannot read the file", fileName, errno);
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
    // The file may have grown since it was measured.
    if (bytes.size() > maxBytes)
      throw EFileError("The file \"" + fileName.string() + "\" is too large.");
  }
  return bytes;
}

void WriteWholeFile(const std::filesystem::path& fileName, std::string_view bytes,
                    TFileAccess access) {
  const std::filesystem::path target = FinalTarget(fileName);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode))
    throw EFileError("Cannot save to \"" + fileName.string() + "\": it is not a regular file.");

  // A temporary file in the target's folder, so that the rename that replaces the target cannot
  // cross file systems; it is written and synced before it takes the target's place.
  std::string temp = (target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path()) /
                     ("." + target.filename().string() + ".XXXXXX");
  TFd f{::mkstemp(temp.data())};
  if (f.fd < 0) Fail("Cannot create the file", fileName, errno);
  const auto discard = [&](const char* what, int error) {
    ::unlink(temp.c_str());
    Fail(what, fileName, error);
  };
  const char* at = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(f.fd, at, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) discard("Cannot write the file", errno);
    at += n;
    left -= static_cast<size_t>(n);
  }
  // The replaced file's permissions stay; a new file gets the usual ones. A private file keeps
  // none for its group and others.
  mode_t mode = 0666;
  if (exists) {
    mode = old.st_mode & 07777;
  } else if (access == TFileAccess::Private) {
    mode = 0600;
  } else {
    mode &= ~CurrentUmask();
  }
  if (access == TFileAccess::Private) mode &= ~mode_t{077};
  if (::fchmod(f.fd, mode) != 0) discard("Cannot write the file", errno);
  if (::fsync(f.fd) != 0) discard("Cannot write the file", errno);
  const int fd = f.fd;
  f.fd = -1;
  if (::close(fd) != 0) discard("Cannot write the file", errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) discard("Cannot replace the file", errno);
}

void AppendToFile(const std::filesystem::path& fileName, std::string_view bytes) {
  TFd f{::open(fileName.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666)};
  if (f.fd < 0) Fail("Cannot open the file", fileName, errno);
  struct stat info {};
  if (::fstat(f.fd, &info) != 0) Fail("Cannot open the file", fileName, errno);
  if (!S_ISREG(info.st_mode))
    throw EFileError("Cannot save to \"" + fileName.string() + "\": it is not a regular file.");
  const char* at = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(f.fd, at, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("Cannot write the file", fileName, errno);
    at += n;
    left -= static_cast<size_t>(n);
  }
  const int fd = f.fd;
  f.fd = -1;
  if (::close(fd) != 0) Fail("Cannot write the file", fileName, errno);
}

void MakeFilePrivate(const std::filesystem::path& fileName) {
  TFd f{::open(fileName.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600)};
  if (f.fd < 0) Fail("Cannot open the file", fileName, errno);
  struct stat info {};
  if (::fstat(f.fd, &info) != 0) Fail("Cannot open the file", fileName, errno);
  // A device or FIFO named by the user is theirs to keep as it is.
  if (!S_ISREG(info.st_mode)) return;
  if ((info.st_mode & 077) != 0 && ::fchmod(f.fd, info.st_mode & 07700) != 0)
    Fail("Cannot change the permissions of", fileName, errno);
}

}  // namespace kelvast
