#include "records/durable_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace records {

IoResult IoResult::Failure(int errnum, std::string_view what) {
  IoResult r;
  r.ok = false;
  r.error = std::strerror(errnum);
  if (!what.empty()) r.error += " (" + std::string(what) + ")";
  return r;
}

DurableFile::~DurableFile() {
  if (fd_ >= 0) ::close(fd_);
}

DurableFile::DurableFile(DurableFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

DurableFile& DurableFile::operator=(DurableFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
  }
  return *this;
}

IoResult DurableFile::Open(const std::string& path, int flags) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = ::open(path.c_str(), flags | O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  path_ = path;
  if (fd_ < 0) return IoResult::Failure(errno, path);
  return {};
}

IoResult DurableFile::Create(const std::string& path) { return Open(path, O_TRUNC); }

IoResult DurableFile::OpenAppend(const std::string& path) { return Open(path, O_APPEND); }

IoResult DurableFile::Append(std::string_view bytes) {
  if (fd_ < 0) return IoResult::Failure(EBADF, path_);
  // A full disk may take part of a line: the part is taken back, so the
  // file never holds a torn line and the next line starts where it should.
  const off_t before = ::lseek(fd_, 0, SEEK_END);
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd_, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      if (before >= 0 && left < bytes.size() && ::ftruncate(fd_, before) != 0) {
        // Nothing more can be done: the error below says the line failed.
      }
      return IoResult::Failure(err, path_);
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::fdatasync(fd_) != 0) return IoResult::Failure(errno, path_);
  return {};
}

IoResult DurableFile::Close() {
  if (fd_ < 0) return {};
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) return IoResult::Failure(errno, path_);
  return {};
}

IoResult SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return IoResult::Failure(errno, folder);
  const int rc = ::fsync(fd);
  const int err = errno;
  ::close(fd);
  if (rc != 0 && err != EINVAL) return IoResult::Failure(err, folder);
  return {};
}

}  // namespace records
