#include "exports/staged_files.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace exports {

namespace {

// ".26120601.pdf.3f9a0c1b.part": hidden, and unlike any other name.
std::string TemporaryName(const std::string& name) {
  unsigned char random[4] = {};
  if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    // Without randomness the name is still tried exclusively below.
  }
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "%02x%02x%02x%02x", random[0], random[1], random[2], random[3]);
  return "." + name + "." + suffix + ".part";
}

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

StagedFiles::StagedFiles(std::string folder) : folder_(std::move(folder)) {
  folderFd_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd_ < 0) openErrno_ = errno;
}

StagedFiles::~StagedFiles() {
  for (const Staged& file : staged_) {
    if (!file.named) ::unlinkat(folderFd_, file.temporary.c_str(), 0);
  }
  if (folderFd_ >= 0) ::close(folderFd_);
}

bool StagedFiles::Fail(const std::string& name, int errnum) {
  failedName_ = name;
  systemError_ = std::strerror(errnum);
  return false;
}

bool StagedFiles::Add(const std::string& name, std::string_view bytes) {
  if (folderFd_ < 0) return Fail(name, openErrno_);
  Staged file{name, {}, false};
  int fd = -1;
  // O_EXCL never opens an existing name, and with O_CREAT never follows a link.
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    file.temporary = TemporaryName(name);
    fd = ::openat(folderFd_, file.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return Fail(name, errno);
  }
  if (fd < 0) return Fail(name, EEXIST);
  staged_.push_back(file);
  struct stat written {};
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0 && ::fstat(fd, &written) == 0;
  int err = errno;
  if (ok && written.st_size != static_cast<off_t>(bytes.size())) {
    ok = false;
    err = EIO;
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlinkat(folderFd_, file.temporary.c_str(), 0);
    staged_.pop_back();
    return Fail(name, err);
  }
  return true;
}

bool StagedFiles::Commit() {
  if (folderFd_ < 0) return Fail(folder_, openErrno_);
  for (Staged& file : staged_) {
    if (::renameat(folderFd_, file.temporary.c_str(), folderFd_, file.name.c_str()) != 0) {
      const int err = errno;
      RemoveAll();
      return Fail(file.name, err);
    }
    file.named = true;
  }
  // The new names reach the disk with the files they name.
  if (::fsync(folderFd_) != 0 && errno != EINVAL) {
    const int err = errno;
    RemoveAll();
    return Fail(folder_, err);
  }
  return true;
}

void StagedFiles::RemoveAll() {
  for (Staged& file : staged_) {
    ::unlinkat(folderFd_, (file.named ? file.name : file.temporary).c_str(), 0);
    file.named = true;  // nothing left for the destructor
  }
}

std::vector<std::string> StagedFiles::Paths() const {
  std::vector<std::string> paths;
  const std::string prefix = !folder_.empty() && folder_.back() == '/' ? folder_ : folder_ + "/";
  for (const Staged& file : staged_) paths.push_back(prefix + file.name);
  return paths;
}

}  // namespace exports
