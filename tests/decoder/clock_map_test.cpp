#include "decoder/clock_map.h"

#include <gtest/gtest.h>

#include "gate_race.h"

namespace {

using decoder::ClockMap;
using gate_race::kConnected;
using gate_race::kFrequency;
using gate_race::kGateAtConnection;
using gate_race::Race;
using gate_race::Ticks;

class RaceSimulation : public ::testing::TestWithParam<Race> {};

TEST_P(RaceSimulation, LapsWithinAMillisecondAfterTheWarmUp) {
  const gate_race::Outcome outcome = gate_race::RunRace(GetParam());
  EXPECT_GT(outcome.laps, 3500);
  EXPECT_TRUE(outcome.settledAtStart);
  EXPECT_TRUE(outcome.stampsInOrder);
  EXPECT_LT(outcome.worstLapMs, 1.0);
  EXPECT_LT(outcome.worstAbsoluteMs, 6.0);
}

INSTANTIATE_TEST_SUITE_P(CrystalOffAndHeartbeatRate, RaceSimulation,
                         ::testing::Values(Race{100, 1, 600, 1}, Race{-100, 1, 600, 2}, Race{100, 4, 300, 3},
                                           Race{-100, 4, 300, 4}));

// A gate whose lines arrive without delay once a second, 30 ppm fast.
class SteadyGate : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto first = Line(0);  // taken at its receive time
    EXPECT_EQ(first.sync, ClockMap::Sync::kFirstLine);
    EXPECT_NEAR(static_cast<double>(Place(first, 0)), Received(0), 5e6);
    for (int s = 1; s <= 600; ++s) Line(s);
    ASSERT_TRUE(map.Settled());
  }
  ClockMap::Stamp Line(double seconds, double delay = 0, ClockMap::Kind kind = ClockMap::Kind::kHeartbeat) {
    return Add(Micros(seconds), seconds + delay, kind);
  }
  ClockMap::Stamp Add(std::uint64_t micros, double receivedSeconds, ClockMap::Kind kind = ClockMap::Kind::kHeartbeat) {
    const auto stamp = map.Judge(micros, Received(receivedSeconds), kind);
    map.Add(stamp, Received(receivedSeconds), kind);
    return stamp;
  }
  std::int64_t Place(const ClockMap::Stamp& stamp, double receivedSeconds) {
    return map.Place(stamp, Received(receivedSeconds));
  }
  static std::uint64_t Micros(double seconds) { return kGateAtConnection + std::llround(seconds * (1e6 + 30)); }
  static std::int64_t Received(double seconds) { return kConnected + Ticks(seconds); }
  ClockMap map{kFrequency};
};

TEST_F(SteadyGate, APassIsNeverMappedAfterItArrived) {
  // The gate's clock ran 5 ms ahead: too little to step the map at once.
  EXPECT_EQ(Place(Line(600.5, -0.005, ClockMap::Kind::kPass), 600.495), Received(600.495));
  EXPECT_NEAR(static_cast<double>(Place(Line(601, 0.15, ClockMap::Kind::kPass), 601.15)), Received(601), 3e6);
}

TEST_F(SteadyGate, ARestartGetsANewOriginOnTheKeptRate) {
  const auto origin = map.Origin();
  EXPECT_EQ(Add(1'000, 601).sync, ClockMap::Sync::kReset);  // time went back
  EXPECT_EQ(map.Origin(), origin + 1);
  EXPECT_FALSE(map.Settled());
  EXPECT_NEAR(map.SkewPpm(), 30, 0.5);
  for (int s = 1; s <= 8; ++s) Add(1'000 + s * 1'000'030ULL, 601 + s);
  EXPECT_TRUE(map.Settled());  // anchored on prompt lines
  // The gate's clock ran far ahead of the counter: another restart.
  EXPECT_EQ(Add(3'600'000'000ULL, 610).sync, ClockMap::Sync::kReset);
  map.Reset();
  Add(5, 611);
  EXPECT_EQ(map.SkewPpm(), 0);
}

TEST_F(SteadyGate, AfterAHelloTheNextHeartbeatDecides) {
  const auto origin = map.Origin();
  map.Recheck();
  // A pass that waited in the gate fits a clock that went on.
  EXPECT_EQ(Add(Micros(601), 605, ClockMap::Kind::kPass).sync, ClockMap::Sync::kTracked);
  EXPECT_EQ(Line(606).sync, ClockMap::Sync::kTracked);
  EXPECT_EQ(map.Origin(), origin);
  EXPECT_TRUE(map.Settled());
  // A gate that restarted from a time ahead of its last one: only a fresh
  // stamp tells, mapped seconds before its arrival.
  map.Recheck();
  EXPECT_EQ(Add(Micros(606), 611).sync, ClockMap::Sync::kReset);
}

TEST(ClockMap, A32BitClockIsFollowedAcrossItsWrap) {
  ClockMap map(kFrequency);
  std::uint64_t micros = (1ULL << 32) - 30'000'000;
  std::int64_t received = kConnected;
  for (int s = 0; s < 60; ++s, micros += 1'000'000, received += kFrequency) {
    const auto stamp = map.Judge(micros & 0xFFFF'FFFFULL, received, ClockMap::Kind::kHeartbeat);
    ASSERT_NE(stamp.sync, ClockMap::Sync::kReset) << s;
    EXPECT_EQ(stamp.micros, micros);
    map.Add(stamp, received, ClockMap::Kind::kHeartbeat);
  }
  // Across a link that was down for three wraps, after a hello.
  map.Recheck();
  micros += 3 * (1ULL << 32);
  received += 3 * (1LL << 32) * 1000;
  EXPECT_EQ(map.Judge(micros & 0xFFFF'FFFFULL, received, ClockMap::Kind::kHeartbeat).micros, micros);
}

TEST(ClockMap, StampsNeverGoBackWhileTheRateIsFirstMeasured) {
  // Late lines first and prompt ones after tilt the first measured rate
  // far off: the estimate at the present drops by a few ms at once.
  ClockMap map(kFrequency);
  std::int64_t last = 0;
  for (int ms = 0; ms < 70'000; ++ms) {
    const auto late = Ticks(ms < 30'000 ? 0.1 : 0);
    const std::int64_t received = kConnected + late + ms * kFrequency / 1000;
    const auto stamp = map.Judge(kGateAtConnection + ms * 1000ULL, received, ClockMap::Kind::kPass);
    map.Add(stamp, received, ClockMap::Kind::kPass);
    const auto count = map.Place(stamp, received);
    ASSERT_GE(count, last) << ms;
    last = count;
  }
}

TEST(ClockMap, FollowsACrystalThatWarmsUp) {
  // 40 minutes true, then 40 minutes 30 ppm fast: the window has slid past the change.
  ClockMap map(kFrequency);
  gate_race::Random random{17};
  double micros = kGateAtConnection;
  for (int quarter = 0; quarter < 4 * 4800; ++quarter) {
    const std::int64_t received = kConnected + Ticks(quarter * 0.25 + random.Uniform(0, 0.2));
    map.Add(map.Judge(std::llround(micros), received, ClockMap::Kind::kHeartbeat), received,
            ClockMap::Kind::kHeartbeat);
    micros += quarter < 4 * 2400 ? 250'000 : 250'000 + 7.5;
  }
  EXPECT_NEAR(map.SkewPpm(), 30, 2);
}

}  // namespace
