#pragma once
// The time of day and the date: the start time of a race, the race clock
// and the day's record-file names come from here, never a lap time.

#include <cstdint>

namespace platform {

struct LocalDateTime {
  int year = 2000;  // four digits
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

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

}  // namespace platform
