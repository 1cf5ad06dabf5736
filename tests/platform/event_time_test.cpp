#include "platform/event_time.h"

#include <gtest/gtest.h>

namespace {

using platform::EventTimeToCount;
constexpr std::int64_t kNs = 1000000000;  // the counter's ticks per second

TEST(EventTime, AStampOfTheLastSecondIsThePressWithinItsMillisecond) {
  const std::int64_t now = 7200 * kNs + 123456789;  // 7200123.456789 ms
  // Pressed 300 ms before now: the middle of millisecond 7199823.
  EXPECT_EQ(EventTimeToCount(7199823, now, kNs), 7199823 * 1000000LL + 500000);
  // Stamped in the current millisecond, the half can lie after now: now then.
  EXPECT_EQ(EventTimeToCount(7200123, now, kNs), now);
  // Another frequency scales the same way.
  EXPECT_EQ(EventTimeToCount(7199823, now / 1000, kNs / 1000), 7199823500LL);
}

TEST(EventTime, MissingAheadOrStaleStampsAreNotTaken) {
  const std::int64_t now = 7200 * kNs;
  EXPECT_FALSE(EventTimeToCount(0, now, kNs));
  EXPECT_FALSE(EventTimeToCount(7200001, now, kNs));              // ahead of now
  EXPECT_FALSE(EventTimeToCount(7200000 - 1001, now, kNs));       // over a second old
  EXPECT_TRUE(EventTimeToCount(7200000 - 1000, now, kNs));
  EXPECT_FALSE(EventTimeToCount(1733650000000ULL, now, kNs));     // wall-clock milliseconds
  EXPECT_FALSE(EventTimeToCount(7199000, now, 0));
}

TEST(EventTime, AThirtyTwoBitStampWrapsWithTheClock) {
  // 50 days of uptime: the clock's milliseconds passed 2^32 and the stamp wrapped.
  const std::int64_t nowMs = (1LL << 32) + 250;
  const std::int64_t now = nowMs * 1000000;
  EXPECT_EQ(EventTimeToCount(200, now, kNs), (nowMs - 50) * 1000000 + 500000);
  EXPECT_EQ(EventTimeToCount(0xFFFFFFFFu, now, kNs), (nowMs - 251) * 1000000 + 500000);
}

}  // namespace
