#include "platform/counter.h"

#include <ctime>

namespace platform {

std::optional<std::int64_t> MonotonicCounter::Frequency() {
  timespec ts{};
  if (clock_getres(CLOCK_MONOTONIC, &ts) != 0) return std::nullopt;
  return 1000000000;
}

std::int64_t MonotonicCounter::Read() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

}  // namespace platform
