#pragma once
// The timing base: every race and lap time is a count of the performance
// counter, turned into text only by the two time formats.

#include <cstdint>
#include <string>

#include "platform/counter.h"

namespace race {

// A count or duration in counter ticks, rounded to the nearest tick.
std::int64_t RoundTicks(double ticks) noexcept;
// One minute in ticks of a counter of `frequency` ticks a second.
std::int64_t OneMinuteTicks(std::int64_t frequency) noexcept;

class TimingBase final {
 public:
  explicit TimingBase(platform::PerformanceCounter& counter) : counter_(counter) {}

  // Reads the counter frequency; false when the machine has no counter.
  // Once read, the frequency is fixed: later calls read nothing.
  bool Init();

  // Reads the counter into NowCount; every timing step calls it once.
  std::int64_t ReadCounter();
  // A timing step that happened at `count` (a key press's or a track
  // sensor's own time) takes that as NowCount instead of reading the counter.
  std::int64_t TakeCount(std::int64_t count) noexcept {
    nowCount_ = count;
    return nowCount_;
  }

  // Counter ticks per second; 0 until Init().
  std::int64_t Frequency() const noexcept { return frequency_; }
  // One minute in ticks.
  std::int64_t GraceTicks() const noexcept { return graceTicks_; }
  // The counter at the last timing step.
  std::int64_t NowCount() const noexcept { return nowCount_; }

  double TicksToSeconds(std::int64_t ticks) const noexcept;
  std::int64_t SecondsToTicks(double seconds) const noexcept;

  // Seconds with three decimals and a comma on every locale: 12,345.
  std::string FormatSeconds(std::int64_t ticks) const;
  // 03'07"042 (minutes within the hour); with `underOneHour` false the whole
  // hours come first: 1h 03'07"042.
  std::string FormatRaceTime(std::int64_t ticks, bool underOneHour = true) const;
  // The watched car's running time: 05'12"345, or 1h 05'12" for long races.
  std::string FormatWatchedTime(std::int64_t ticks, bool underOneHour) const;

 private:
  // Whole milliseconds of a tick count, rounded to the nearest one.
  std::int64_t Millis(std::int64_t ticks) const noexcept;
  platform::PerformanceCounter& counter_;
  std::int64_t frequency_ = 0;
  std::int64_t graceTicks_ = 0;
  std::int64_t nowCount_ = 0;
};

}  // namespace race
