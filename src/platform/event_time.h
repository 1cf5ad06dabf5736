#pragma once
// When an input event happened, on the performance counter's time base: the
// window system stamps every key event, and a pass is timed at the press,
// not when its handler finally runs behind a slow disk.

#include <cstdint>
#include <optional>

namespace platform {

// The counter count of an event stamped `stampMillis` by the window system,
// judged against `now`, a reading of the same counter (`frequency` ticks per
// second). The stamp is taken as milliseconds of the counter's own clock,
// CLOCK_MONOTONIC, as X11 gives them (32 bits, so it wraps every 49.7 days);
// the press happened within the millisecond it names, so its middle is
// taken, and never later than now. Nothing when the stamp is missing (0) or
// implausible for that clock: ahead of now or more than a second old.
std::optional<std::int64_t> EventTimeToCount(std::uint64_t stampMillis, std::int64_t now,
                                             std::int64_t frequency) noexcept;

// How old a stamp may be and still be taken.
inline constexpr std::int64_t kMaxEventAgeMillis = 1000;

}  // namespace platform
