#include "race/timing.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "records/lines.h"

namespace race {

std::int64_t RoundTicks(double ticks) noexcept { return std::llround(ticks); }

std::int64_t OneMinuteTicks(std::int64_t frequency) noexcept { return RoundTicks(static_cast<double>(frequency) * 60.0); }

bool TimingBase::Init() {
  if (frequency_ == 0) {
    const auto f = counter_.Frequency();
    if (!f || *f <= 0) return false;
    frequency_ = *f;
    graceTicks_ = OneMinuteTicks(frequency_);
  }
  ReadCounter();
  return true;
}

std::int64_t TimingBase::ReadCounter() {
  nowCount_ = counter_.Read();
  return nowCount_;
}

// Times are kept in double precision: single precision loses the last
// millisecond of times near three hours.
double TimingBase::TicksToSeconds(std::int64_t ticks) const noexcept {
  return static_cast<double>(ticks) / static_cast<double>(frequency_);
}

std::int64_t TimingBase::SecondsToTicks(double seconds) const noexcept {
  return RoundTicks(seconds * static_cast<double>(frequency_));
}

std::int64_t TimingBase::Millis(std::int64_t ticks) const noexcept {
  return std::llround(TicksToSeconds(ticks) * 1000.0);
}

std::string TimingBase::FormatSeconds(std::int64_t ticks) const {
  return records::SecondsText(Millis(ticks));
}

std::string TimingBase::FormatRaceTime(std::int64_t ticks, bool underOneHour) const {
  std::int64_t ms = Millis(ticks);
  if (ms < 0) ms = 0;
  const long long h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60, r = ms % 1000;
  char buf[64];
  if (underOneHour) {
    std::snprintf(buf, sizeof buf, "%02lld'%02lld\"%03lld", m, s, r);
  } else {
    std::snprintf(buf, sizeof buf, "%lldh %02lld'%02lld\"%03lld", h, m, s, r);
  }
  return buf;
}

std::string TimingBase::FormatWatchedTime(std::int64_t ticks, bool underOneHour) const {
  if (underOneHour) return FormatRaceTime(ticks, true);
  std::int64_t ms = Millis(ticks);
  if (ms < 0) ms = 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%lldh %02lld'%02lld\"", static_cast<long long>(ms / 3600000),
                static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60));
  return buf;
}

}  // namespace race
