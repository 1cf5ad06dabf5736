// Presses keys on one persistent X connection (XTEST), so that what is
// measured is the program, not the starting of a tool per key.
//
//   xpress burst KEY...
//       presses and releases each key once, back to back; prints
//       "KEY BEFORE_NS AFTER_NS": CLOCK_MONOTONIC just before each press was
//       sent and just after the server had handled it (a round trip), so the
//       server's own stamp of the press lies between the two however busy
//       the machine is.
//   xpress at BASE_NS OFFSET_MS KEY [OFFSET_MS KEY]...
//       presses each key when CLOCK_MONOTONIC reaches BASE_NS + OFFSET_MS
//       (a key whose moment has passed is pressed at once): a schedule of
//       passes that two runs follow alike. Prints "OFFSET_MS KEY BEFORE_NS
//       AFTER_NS" per key, bracketing the server's stamp as burst does: on a
//       busy machine a key goes late, and the bracket says how late.
//   xpress click WINDOW X Y
//       clicks the left button at X, Y of the window; prints the
//       CLOCK_MONOTONIC nanoseconds just before the release was sent (a
//       button acts on its release).
//   xpress latency COUNT INTERVAL_MS KEYS BLOCK WINDOW:FILE [WINDOW:FILE...]
//       key to line on disk: presses COUNT keys per target, cycling through
//       KEYS (comma separated), INTERVAL_MS apart, BLOCK presses to one
//       target and then BLOCK to the next, so the targets run side by side;
//       each press waits for its FILE to grow by a line (inotify). Prints per
//       target "WINDOW:FILE n median p90 p99 max" in microseconds. With
//       XPRESS_PRESS_LOG set, the file it names gets one "TARGET NS" line per
//       press that reached its file (targets counted from 0), written at the end.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

long long NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void SleepNs(long long ns) {
  if (ns <= 0) return;
  timespec left{static_cast<time_t>(ns / 1000000000LL), static_cast<long>(ns % 1000000000LL)};
  while (nanosleep(&left, &left) != 0) {
  }
}

KeyCode Code(Display* dpy, const std::string& name) {
  const KeySym sym = XStringToKeysym(name.c_str());
  if (sym == NoSymbol) {
    std::fprintf(stderr, "xpress: unknown key %s\n", name.c_str());
    std::exit(64);
  }
  return XKeysymToKeycode(dpy, sym);
}

void Press(Display* dpy, KeyCode code, bool down) {
  XTestFakeKeyEvent(dpy, code, down ? True : False, CurrentTime);
  XFlush(dpy);
}

off_t SizeOf(const std::string& file) {
  struct stat st {};
  return stat(file.c_str(), &st) == 0 ? st.st_size : -1;
}

struct Target {
  Window window = 0;
  std::string file;
  int watch = -1;
  std::vector<long long> latencies;
};

// Waits until the file has grown past `before`; false after two seconds.
bool WaitForLine(int inotify, const Target& target, off_t before) {
  const long long deadline = NowNs() + 2000000000LL;
  while (SizeOf(target.file) <= before) {
    const long long left = deadline - NowNs();
    if (left <= 0) return false;
    pollfd pfd{inotify, POLLIN, 0};
    if (poll(&pfd, 1, static_cast<int>(left / 1000000 + 1)) > 0) {
      char buf[4096];
      if (read(inotify, buf, sizeof buf) < 0) return false;
    }
  }
  return true;
}

long long Percentile(std::vector<long long> v, double p) {
  std::sort(v.begin(), v.end());
  const auto i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

int Burst(Display* dpy, int argc, char** argv) {
  std::vector<KeyCode> codes;
  for (int i = 2; i < argc; ++i) codes.push_back(Code(dpy, argv[i]));
  std::vector<long long> before;
  std::vector<long long> after;
  for (KeyCode code : codes) {
    before.push_back(NowNs());
    Press(dpy, code, true);
    XSync(dpy, False);
    after.push_back(NowNs());
    Press(dpy, code, false);
  }
  XSync(dpy, False);
  for (std::size_t i = 0; i < codes.size(); ++i) std::printf("%s %lld %lld\n", argv[i + 2], before[i], after[i]);
  return 0;
}

int At(Display* dpy, int argc, char** argv) {
  if (argc < 5 || argc % 2 == 0) return 64;
  const long long base = std::atoll(argv[2]);
  for (int i = 3; i + 1 < argc; i += 2) {
    const long long at = base + std::atoll(argv[i]) * 1000000LL;
    const KeyCode code = Code(dpy, argv[i + 1]);
    SleepNs(at - NowNs());
    const long long before = NowNs();
    Press(dpy, code, true);
    XSync(dpy, False);
    const long long after = NowNs();
    Press(dpy, code, false);
    std::printf("%s %s %lld %lld\n", argv[i], argv[i + 1], before, after);
  }
  XSync(dpy, False);
  return 0;
}

int Click(Display* dpy, int argc, char** argv) {
  if (argc != 5) return 64;
  const Window window = std::strtoul(argv[2], nullptr, 0);
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(dpy, window, DefaultRootWindow(dpy), std::atoi(argv[3]), std::atoi(argv[4]), &x, &y, &child);
  XTestFakeMotionEvent(dpy, -1, x, y, CurrentTime);
  XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
  XFlush(dpy);
  const long long at = NowNs();
  XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
  XSync(dpy, False);
  std::printf("%lld\n", at);
  return 0;
}

int Latency(Display* dpy, int argc, char** argv) {
  if (argc < 7) return 64;
  const int count = std::atoi(argv[2]);
  const long long interval = std::atoll(argv[3]) * 1000000LL;
  std::vector<KeyCode> keys;
  for (char* key = std::strtok(argv[4], ","); key != nullptr; key = std::strtok(nullptr, ",")) {
    keys.push_back(Code(dpy, key));
  }
  const int block = std::max(1, std::atoi(argv[5]));
  const int inotify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  std::vector<Target> targets;
  for (int i = 6; i < argc; ++i) {
    const std::string windowAndFile = argv[i];
    const auto colon = windowAndFile.find(':');
    if (colon == std::string::npos) return 64;
    Target t;
    t.window = std::strtoul(windowAndFile.substr(0, colon).c_str(), nullptr, 0);
    t.file = windowAndFile.substr(colon + 1);
    t.watch = inotify_add_watch(inotify, t.file.c_str(), IN_MODIFY);
    if (t.watch < 0) {
      std::perror(t.file.c_str());
      return 1;
    }
    targets.push_back(std::move(t));
  }
  std::vector<std::size_t> nextKey(targets.size(), 0);
  std::vector<std::pair<std::size_t, long long>> pressed;
  int failures = 0;
  for (int done = 0; done < count; done += block) {
    for (std::size_t ti = 0; ti < targets.size(); ++ti) {
      Target& t = targets[ti];
      XSetInputFocus(dpy, t.window, RevertToParent, CurrentTime);
      XSync(dpy, False);
      SleepNs(interval);  // the focus change settles before the first press
      for (int k = 0; k < block && done + k < count; ++k) {
        const KeyCode code = keys[nextKey[ti]++ % keys.size()];
        const off_t before = SizeOf(t.file);
        const long long start = NowNs();
        Press(dpy, code, true);
        const bool seen = WaitForLine(inotify, t, before);
        const long long end = NowNs();
        Press(dpy, code, false);
        if (seen) {
          t.latencies.push_back(end - start);
          pressed.emplace_back(ti, start);
        } else {
          ++failures;
        }
        SleepNs(interval - (NowNs() - start));
      }
    }
  }
  if (const char* log = std::getenv("XPRESS_PRESS_LOG"); log != nullptr && *log != '\0') {
    if (FILE* out = std::fopen(log, "w")) {
      for (const auto& [target, at] : pressed) std::fprintf(out, "%zu %lld\n", target, at);
      std::fclose(out);
    }
  }
  for (const Target& t : targets) {
    if (t.latencies.empty()) {
      std::printf("0x%lx:%s 0\n", t.window, t.file.c_str());
      continue;
    }
    std::printf("0x%lx:%s %zu %.0f %.0f %.0f %.0f\n", t.window, t.file.c_str(), t.latencies.size(),
                Percentile(t.latencies, 0.5) / 1e3, Percentile(t.latencies, 0.9) / 1e3,
                Percentile(t.latencies, 0.99) / 1e3, Percentile(t.latencies, 1.0) / 1e3);
  }
  return failures == 0 ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: xpress burst KEY... | xpress click WINDOW X Y | xpress at BASE_NS OFFSET_MS KEY... |\n"
                 "       xpress latency COUNT INTERVAL_MS KEYS BLOCK WINDOW:FILE...\n");
    return 64;
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr) {
    std::fprintf(stderr, "xpress: no X display\n");
    return 1;
  }
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(dpy, &event, &error, &major, &minor)) {
    std::fprintf(stderr, "xpress: the X server has no XTEST\n");
    return 1;
  }
  const std::string mode = argv[1];
  int rc = 64;
  if (mode == "burst") rc = Burst(dpy, argc, argv);
  if (mode == "latency") rc = Latency(dpy, argc, argv);
  if (mode == "click") rc = Click(dpy, argc, argv);
  if (mode == "at") rc = At(dpy, argc, argv);
  XCloseDisplay(dpy);
  return rc;
}
