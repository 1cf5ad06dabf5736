#include "platform/event_time.h"

#include <algorithm>

namespace platform {

std::optional<std::int64_t> EventTimeToCount(std::uint64_t stampMillis, std::int64_t now,
                                             std::int64_t frequency) noexcept {
  if (stampMillis == 0 || frequency <= 0 || now < 0) return std::nullopt;
  const std::int64_t nowMillis = static_cast<std::int64_t>(static_cast<__int128>(now) * 1000 / frequency);
  std::int64_t age = 0;
  if (stampMillis <= 0xFFFFFFFFu) {
    // A 32-bit stamp: the age modulo 2^32, so a wrapped clock still counts
    // and a stamp ahead of now shows as billions of milliseconds old.
    age = static_cast<std::uint32_t>(static_cast<std::uint64_t>(nowMillis) - stampMillis);
  } else {
    if (stampMillis > static_cast<std::uint64_t>(nowMillis)) return std::nullopt;
    age = nowMillis - static_cast<std::int64_t>(stampMillis);
  }
  if (age > kMaxEventAgeMillis) return std::nullopt;
  const std::int64_t pressMillis = nowMillis - age;
  const auto count = static_cast<std::int64_t>(static_cast<__int128>(pressMillis) * frequency / 1000) +
                     frequency / 2000;
  return std::min(count, now);
}

}  // namespace platform
