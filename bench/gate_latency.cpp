// A gate on a pseudo-terminal that times its own lines to disk: each pass
// line written is noticed in the program's passes file with inotify.
//
//   gate_latency LINK COUNT INTERVAL_MS FILE
//       makes LINK a symlink to a new terminal, says hello and beats four
//       times a second; at the first line on stdin (the program is started
//       and its race runs), sends COUNT passes of cars 1..12 in turn,
//       INTERVAL_MS apart, each timed from its write to FILE growing.
//       Prints "n median p90 p99 max" in microseconds.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

long long NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void Send(int fd, const std::string& line) {
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = write(fd, line.data() + done, line.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string Micros() { return std::to_string(NowNs() / 1000); }

off_t SizeOf(const std::string& file) {
  struct stat st {};
  return stat(file.c_str(), &st) == 0 ? st.st_size : -1;
}

// Heartbeats every 250 ms until `until`, reading whatever the program sends.
void BeatUntil(int master, long long until, long long& nextBeat) {
  while (NowNs() < until) {
    if (NowNs() >= nextBeat) {
      Send(master, "H " + Micros() + "\n");
      nextBeat += 250000000LL;
    }
    const long long left = std::min(until, nextBeat) - NowNs();
    if (left > 0) {
      timespec ts{static_cast<time_t>(left / 1000000000LL), static_cast<long>(left % 1000000000LL)};
      nanosleep(&ts, nullptr);
    }
  }
}

long long Percentile(std::vector<long long> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5))];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: gate_latency LINK COUNT INTERVAL_MS FILE\n");
    return 64;
  }
  const std::string link = argv[1], file = argv[4];
  const int count = std::atoi(argv[2]);
  const long long interval = std::atoll(argv[3]) * 1000000LL;
  int master = -1, slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return 1;
  termios raw{};
  tcgetattr(slave, &raw);
  cfmakeraw(&raw);
  tcsetattr(slave, TCSANOW, &raw);
  unlink(link.c_str());
  if (symlink(ttyname(slave), link.c_str()) != 0) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  long long nextBeat = NowNs();
  Send(master, "TRELVIX-GATE 1 latency gate\n");
  // Heartbeats go on while the program starts and its race begins.
  for (;;) {
    pollfd in{STDIN_FILENO, POLLIN, 0};
    if (poll(&in, 1, 50) > 0) break;
    BeatUntil(master, NowNs(), nextBeat);
  }
  BeatUntil(master, NowNs() + 2000000000LL, nextBeat);
  const int inotify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (inotify_add_watch(inotify, file.c_str(), IN_MODIFY) < 0) return 1;
  std::vector<long long> latencies;
  for (int i = 0; i < count; ++i) {
    const off_t before = SizeOf(file);
    const long long start = NowNs();
    Send(master, "P " + std::to_string(i % 12 + 1) + " " + std::to_string(start / 1000) + "\n");
    while (SizeOf(file) <= before && NowNs() - start < 2000000000LL) {
      pollfd pfd{inotify, POLLIN, 0};
      if (poll(&pfd, 1, 100) > 0) {
        char buf[4096];
        if (read(inotify, buf, sizeof buf) < 0) break;
      }
    }
    if (SizeOf(file) > before) latencies.push_back(NowNs() - start);
    BeatUntil(master, start + interval, nextBeat);
  }
  unlink(link.c_str());
  if (latencies.empty()) return 2;
  std::printf("%zu %.0f %.0f %.0f %.0f\n", latencies.size(), Percentile(latencies, 0.5) / 1e3,
              Percentile(latencies, 0.9) / 1e3, Percentile(latencies, 0.99) / 1e3, Percentile(latencies, 1.0) / 1e3);
  return static_cast<int>(latencies.size()) == count ? 0 : 2;
}
