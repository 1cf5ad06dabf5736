// Preloaded into a program (LD_PRELOAD) to stand in for a slow or watched
// disk: every fsync and fdatasync first waits TRELVIX_SYNC_DELAY_MS
// milliseconds, the way a USB stick takes its time to make a line durable,
// and, with TRELVIX_SYNC_LOG set, appends "fsync PATH" or "fdatasync PATH"
// to that file, so a test can see what was synced and in which order.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

using SyncFn = int (*)(int);

void Delay() {
  const char* ms = std::getenv("TRELVIX_SYNC_DELAY_MS");
  if (ms == nullptr || *ms == '\0') return;
  const long value = std::strtol(ms, nullptr, 10);
  if (value <= 0) return;
  timespec left{value / 1000, (value % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

void Log(const char* what, int fd) {
  const char* log = std::getenv("TRELVIX_SYNC_LOG");
  if (log == nullptr || *log == '\0') return;
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char path[4096];
  const ssize_t n = readlink(link, path, sizeof path - 1);
  path[n > 0 ? n : 0] = '\0';
  const int out = open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (out < 0) return;
  char line[4200];
  const int len = std::snprintf(line, sizeof line, "%s %s\n", what, path);
  if (len > 0 && write(out, line, static_cast<std::size_t>(len)) < 0) {
    // A test that reads the log will notice the missing line.
  }
  close(out);
}

int Call(const char* name, int fd) {
  const int saved = errno;
  Delay();
  Log(name, fd);
  errno = saved;
  auto real = reinterpret_cast<SyncFn>(dlsym(RTLD_NEXT, name));
  return real != nullptr ? real(fd) : 0;
}

}  // namespace

extern "C" int fsync(int fd) { return Call("fsync", fd); }
extern "C" int fdatasync(int fd) { return Call("fdatasync", fd); }
