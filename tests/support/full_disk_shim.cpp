// Preloaded into a program (LD_PRELOAD) to stand in for a disk that fills
// up: files under the folder TRELVIX_FULL_DIR take TRELVIX_FULL_AFTER bytes
// in all, then a write takes what still fits and the next one fails with
// ENOSPC, as a real full disk answers. Other files are written as usual.
#include <dlfcn.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Budget {
  std::string folder;  // with a trailing slash
  long long room = -1; // bytes left; -1 when the shim is off
};

Budget& TheBudget() {
  static Budget budget = [] {
    Budget b;
    const char* dir = std::getenv("TRELVIX_FULL_DIR");
    const char* after = std::getenv("TRELVIX_FULL_AFTER");
    if (dir == nullptr || *dir == '\0' || after == nullptr || *after == '\0') return b;
    b.folder = dir;
    if (b.folder.back() != '/') b.folder += '/';
    b.room = std::strtoll(after, nullptr, 10);
    return b;
  }();
  return budget;
}

std::atomic<long long> used{0};

bool OnFullDisk(int fd) {
  const Budget& b = TheBudget();
  if (b.room < 0) return false;
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char path[4096];
  const ssize_t n = readlink(link, path, sizeof path - 1);
  if (n <= 0) return false;
  return std::strncmp(path, b.folder.c_str(), b.folder.size()) == 0;
}

// How many of `wanted` bytes still fit; 0 sets ENOSPC.
std::size_t Fits(std::size_t wanted) {
  const long long room = TheBudget().room;
  long long before = used.load();
  long long take = 0;
  do {
    take = std::min<long long>(static_cast<long long>(wanted), std::max(0LL, room - before));
  } while (!used.compare_exchange_weak(before, before + take));
  if (take == 0 && wanted > 0) errno = ENOSPC;
  return static_cast<std::size_t>(take);
}

template <typename Fn>
Fn Real(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t write(int fd, const void* data, std::size_t size) {
  static const auto real = Real<ssize_t (*)(int, const void*, std::size_t)>("write");
  if (OnFullDisk(fd)) {
    size = Fits(size);
    if (size == 0) return -1;
  }
  return real(fd, data, size);
}

extern "C" ssize_t pwrite(int fd, const void* data, std::size_t size, off_t offset) {
  static const auto real = Real<ssize_t (*)(int, const void*, std::size_t, off_t)>("pwrite");
  if (OnFullDisk(fd)) {
    size = Fits(size);
    if (size == 0) return -1;
  }
  return real(fd, data, size, offset);
}

extern "C" ssize_t writev(int fd, const iovec* parts, int count) {
  static const auto real = Real<ssize_t (*)(int, const iovec*, int)>("writev");
  if (!OnFullDisk(fd) || count <= 0) return real(fd, parts, count);
  // The first part alone, cut to what fits: a short write, as the disk gives.
  const std::size_t size = Fits(parts[0].iov_len);
  if (size == 0) return -1;
  static const auto realWrite = Real<ssize_t (*)(int, const void*, std::size_t)>("write");
  return realWrite(fd, parts[0].iov_base, size);
}
