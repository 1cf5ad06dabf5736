#pragma once
// The time of day and the date: the start time of a race, the race clock
// and the day's record-file names come from here, never a lap time.

#include <cstdint>
#include <string>

namespace platform {

struct LocalDateTime {
  int year = 2000;  // four digits
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  std::int64_t unixNanos = 0;  // the same moment as nanoseconds since 1970 (UTC)

  // Milliseconds since midnight.
  std::int64_t MillisOfDay() const noexcept {
    return ((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
  }
};

class WallClock {
 public:
  virtual ~WallClock() = default;
  virtual LocalDateTime Now() = 0;
};

class SystemClock final : public WallClock {
 public:
  LocalDateTime Now() override;
};

// The identity of the machine's current boot (/proc/sys/kernel/random/boot_id):
// the monotonic counter runs on only within one boot. Empty when unknown.
std::string ReadBootId();

}  // namespace platform
