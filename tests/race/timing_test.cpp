#include "race/timing.h"

#include <gtest/gtest.h>

#include <clocale>

#include "support/fakes.h"

namespace {

class TimingTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(timing.Init()); }
  std::int64_t Sec(double s) const { return timing.SecondsToTicks(s); }
  testing_support::FakeCounter counter{1000000000};
  race::TimingBase timing{counter};
};

TEST_F(TimingTest, InitReadsFrequencyAndOneMinuteOfGrace) {
  EXPECT_EQ(timing.Frequency(), 1000000000);
  EXPECT_EQ(timing.GraceTicks(), 60000000000);
  EXPECT_EQ(timing.NowCount(), counter.now());
  testing_support::FakeCounter none{0};
  race::TimingBase broken{none};
  EXPECT_FALSE(broken.Init());
}

TEST_F(TimingTest, TicksToSeconds) {
  EXPECT_DOUBLE_EQ(timing.TicksToSeconds(timing.Frequency()), 1.0);
  EXPECT_DOUBLE_EQ(timing.TicksToSeconds(0), 0.0);
}

TEST_F(TimingTest, FormatSecondsUsesACommaOnEveryLocale) {
  std::setlocale(LC_ALL, "de_DE.UTF-8");  // a comma locale where present
  EXPECT_EQ(timing.FormatSeconds(0), "0,000");
  EXPECT_EQ(timing.FormatSeconds(Sec(0.5)), "0,500");
  EXPECT_EQ(timing.FormatSeconds(Sec(83.4071)), "83,407");
  EXPECT_EQ(timing.FormatSeconds(Sec(12.3455)), "12,346");
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(timing.FormatSeconds(Sec(21.532)), "21,532");
}

TEST_F(TimingTest, FormatRaceTimeShortForm) {
  EXPECT_EQ(timing.FormatRaceTime(Sec(187.042)), "03'07\"042");
  EXPECT_EQ(timing.FormatRaceTime(0), "00'00\"000");
  EXPECT_EQ(timing.FormatRaceTime(Sec(59.9996)), "01'00\"000");
  EXPECT_EQ(timing.FormatRaceTime(Sec(59 * 60 + 59.999)), "59'59\"999");
}

TEST_F(TimingTest, LongRacesKeepTheWholeHours) {
  EXPECT_EQ(timing.FormatRaceTime(Sec(3600 + 187.042), false), "1h 03'07\"042");
  EXPECT_EQ(timing.FormatWatchedTime(Sec(2 * 3600 + 5 * 60 + 12.345), false), "2h 05'12\"");
  EXPECT_EQ(timing.FormatWatchedTime(Sec(5 * 60 + 12.345), true), "05'12\"345");
}

TEST_F(TimingTest, DoublePrecisionKeepsTheLastMillisecondNearThreeHours) {
  // 2 h 59 min 59.999 s: single precision would round this to the second.
  const std::int64_t t = Sec(3 * 3600 - 0.001);
  EXPECT_EQ(timing.FormatRaceTime(t, false), "2h 59'59\"999");
  EXPECT_EQ(timing.FormatSeconds(t), "10799,999");
}

}  // namespace
