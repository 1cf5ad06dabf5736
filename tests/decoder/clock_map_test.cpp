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
    EXPECT_NEAR(static_cast<double>(first.count), Received(0), 5e6);
    for (int s = 1; s <= 600; ++s) Line(s);
    ASSERT_TRUE(map.Settled());
  }
  ClockMap::Stamp Line(double seconds, double delay = 0) { return map.Add(Micros(seconds), Received(seconds + delay)); }
  static std::uint64_t Micros(double seconds) { return kGateAtConnection + std::llround(seconds * (1e6 + 30)); }
  static std::int64_t Received(double seconds) { return kConnected + Ticks(seconds); }
  ClockMap map{kFrequency};
};

TEST_F(SteadyGate, APassIsNeverMappedAfterItArrived) {
  // The gate's clock ran 5 ms ahead: too little to step the map at once.
  EXPECT_EQ(Line(600.5, -0.005).count, Received(600.495));
  EXPECT_NEAR(static_cast<double>(Line(601, 0.15).count), Received(601), 3e6);
}

TEST_F(SteadyGate, ResetsAndJumpsAreTakenUpAtOnce) {
  const auto back = map.Add(1'000, Received(601));
  EXPECT_EQ(back.sync, ClockMap::Sync::kTimeWentBack);
  EXPECT_NEAR(static_cast<double>(back.count), Received(601), 5e6);
  EXPECT_NEAR(static_cast<double>(map.Add(1'001'000, Received(602)).count), Received(602), 5e6);
  const auto ahead = map.Add(3'600'000'000ULL, Received(603));
  EXPECT_EQ(ahead.sync, ClockMap::Sync::kJumpedAhead);
  EXPECT_NEAR(static_cast<double>(ahead.count), Received(603), 5e6);
}

TEST_F(SteadyGate, AHelloKeepsTheCrystalsRateAndAResetForgetsIt) {
  EXPECT_NEAR(map.SkewPpm(), 30, 0.5);
  map.Resync();
  EXPECT_EQ(map.Add(5, Received(601)).sync, ClockMap::Sync::kFirstLine);
  EXPECT_NEAR(map.SkewPpm(), 30, 0.5);
  map.Reset();
  map.Add(5, Received(602));
  EXPECT_EQ(map.SkewPpm(), 0);
}

TEST(ClockMap, StampsNeverGoBackWhileTheRateIsFirstMeasured) {
  // Late lines first and prompt ones after tilt the first measured rate
  // far off: the estimate at the present drops by a few ms at once.
  ClockMap map(kFrequency);
  std::int64_t last = 0;
  for (int ms = 0; ms < 70'000; ++ms) {
    const auto late = Ticks(ms < 30'000 ? 0.1 : 0);
    const auto count = map.Add(kGateAtConnection + ms * 1000ULL, kConnected + late + ms * kFrequency / 1000).count;
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
    map.Add(std::llround(micros), kConnected + Ticks(quarter * 0.25 + random.Uniform(0, 0.2)));
    micros += quarter < 4 * 2400 ? 250'000 : 250'000 + 7.5;
  }
  EXPECT_NEAR(map.SkewPpm(), 30, 2);
}

}  // namespace
