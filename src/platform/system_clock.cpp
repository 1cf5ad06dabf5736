#include "platform/clock.h"

#include <ctime>
#include <fstream>

namespace platform {

LocalDateTime SystemClock::Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  localtime_r(&ts.tv_sec, &tm);
  LocalDateTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec < 60 ? tm.tm_sec : 59;  // a leap second shows as :59
  t.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
  t.unixNanos = static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
  return t;
}

std::string ReadBootId() {
  std::ifstream in("/proc/sys/kernel/random/boot_id");
  std::string id;
  std::getline(in, id);
  return id;
}

}  // namespace platform
