#include <gtest/gtest.h>

#include "race_harness.h"

namespace {

using race::TCarState;
using testing_support::RaceHarness;
using Lines = std::vector<std::string>;

TEST(LapInput, CommonTimingMinimumLapAndFirstFastestLap) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(3));  // 20 min, common timing
  h.Wait(8);
  EXPECT_TRUE(h.Key(3));
  EXPECT_EQ(h.Row(3).laps, "1");
  EXPECT_EQ(h.Row(3).lastLap, "8,000");
  EXPECT_EQ(h.Row(3).fastestLap, "0");  // the lap from the start is not a full lap
  h.Wait(5);
  h.Key(3);  // sooner than the 13 s minimum
  EXPECT_EQ(h.race.Screen().message, "1 Error F3");
  EXPECT_EQ(h.Car(3).Laps, 1);
  h.Wait(12);
  h.Key(3);  // 17 s after the accepted pass
  EXPECT_EQ(h.Row(3).laps, "2");
  EXPECT_EQ(h.Row(3).lastLap, "17,000");
  EXPECT_EQ(h.Row(3).fastestLap, "17,000");
  EXPECT_EQ(h.Row(3).accumulated, "00'25\"000");
  EXPECT_EQ(h.sink.passes, (Lines{"1\t3\t1\t8,000\t00'08\"000", "2\t3\t2\t17,000\t00'25\"000"}));
  EXPECT_EQ(h.sink.events, (Lines{"1\t3\t--\t13,000\tERRO"}));
  EXPECT_EQ(h.race.Screen().passCount, "2");
  EXPECT_EQ(h.race.Screen().eventCount, "1");
}

TEST(LapInput, IndividualTimingFirstCrossingStartsTheCarsOwnClock) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));  // 5 min, individual
  EXPECT_EQ(h.Row(3).state, "Lanzado");
  h.Wait(4);
  h.Key(3);
  EXPECT_EQ(h.Row(3).state, "En carrera");
  EXPECT_EQ(h.Car(3).State, TCarState::csRacing);
  EXPECT_EQ(h.Car(3).EndTime, h.counter.now() + h.race.State().DurationTicks);
  EXPECT_EQ(h.sink.passes.back(), "1\t3\t0\t4,000\t00'00\"000");
  h.Wait(20);
  h.Key(3);
  EXPECT_EQ(h.sink.passes.back(), "2\t3\t1\t20,000\t00'20\"000");
  EXPECT_EQ(h.Row(3).fastestLap, "20,000");
}

TEST(LapInput, AnEqualLapDoesNotReplaceTheFastest) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  h.Key(1);
  h.Wait(20);
  h.Key(1);
  h.Wait(15);
  h.Key(1);
  EXPECT_EQ(h.Row(1).fastestLap, "15,000");
  h.Wait(15);
  h.Key(1);
  EXPECT_EQ(h.Car(1).BestLap, h.race.Timing().SecondsToTicks(15));
  h.Wait(14.5);
  h.Key(1);
  EXPECT_EQ(h.Row(1).fastestLap, "14,500");
}

TEST(LapInput, KeyOfACarThatDoesNotRace) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  h.Wait(3);
  EXPECT_TRUE(h.Key(11));
  EXPECT_EQ(h.sink.events, (Lines{"1\t11\t--\t3,000\tNOCO"}));
  EXPECT_EQ(h.race.Screen().message, "1 No corre F11");
  EXPECT_EQ(h.sound.played.back(), "BEEP");
  EXPECT_TRUE(h.sink.passes.empty());
}

TEST(LapInput, HeldKeyRepeatsGiveErrorLines) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  h.Key(1);
  for (int i = 0; i < 3; ++i) {
    h.Wait(0.03);
    h.Key(1);
  }
  EXPECT_EQ(h.sink.passes.size(), 1u);
  EXPECT_EQ(h.sink.events.size(), 3u);
  EXPECT_EQ(h.sink.events[2], "3\t1\t--\t0,090\tERRO");
}

TEST(LapInput, LastLapAfterTheTimeAndTheTooLatePass) {
  RaceHarness h;
  h.OnlyCars({1, 2});
  ASSERT_TRUE(h.Start(0, 1));  // 5 min, common
  h.Wait(5 * 60 + 30);
  h.Key(1);  // 30 s after its end: the last lap
  EXPECT_EQ(h.Car(1).State, TCarState::csFinished);
  EXPECT_EQ(h.Row(1).state, "Finalizado");
  EXPECT_FALSE(h.Row(1).eventRowEnabled);
  h.Wait(31);
  const auto passes = h.sink.passes.size();
  h.Key(2);  // 61 s after its end: not counted, finished
  EXPECT_EQ(h.Car(2).State, TCarState::csFinished);
  EXPECT_EQ(h.Car(2).Laps, 0);
  EXPECT_EQ(h.sink.passes.size(), passes);
  const auto played = h.sound.played.size();
  h.Key(1);  // a finished car is ignored silently
  EXPECT_EQ(h.sound.played.size(), played);
  EXPECT_EQ(h.sink.passes.size(), passes);
}

TEST(LapInput, IndividualCarThatNeverCrossedBeforeItsTime) {
  RaceHarness h;
  h.OnlyCars({1});
  ASSERT_TRUE(h.Start(0));
  h.Wait(5 * 60 + 20);
  h.Key(1);
  EXPECT_EQ(h.Car(1).State, TCarState::csFinished);
  EXPECT_EQ(h.sink.passes.back(), "1\t1\t1\t320,000\t05'20\"000");
  EXPECT_EQ(h.Row(1).fastestLap, "320,000");
}

TEST(LapInput, FinishingPassPlaysTheCarsCueThenTheFinishCue) {
  RaceHarness h;
  h.sound.AddAllCues();
  h.race.Setup().SetSoundBoxEnabled(true);
  h.race.Setup().SetSoundTicked(true);
  ASSERT_TRUE(h.Start(0, 1));
  EXPECT_EQ(h.sound.played, (Lines{"sal.wav"}));
  h.Wait(10);
  h.Key(2);
  h.Wait(300);
  h.Key(2);
  EXPECT_EQ(h.sound.played, (Lines{"sal.wav", "2.wav", "2.wav", "fin.wav"}));
}

TEST(LapInput, CountedOnlyWhileARaceRuns) {
  RaceHarness h;
  EXPECT_FALSE(h.Key(1));
  EXPECT_FALSE(h.race.FormKeyDown(65));
  ASSERT_TRUE(h.Start(0));
  EXPECT_FALSE(h.race.FormKeyDown(124));  // F13
  EXPECT_TRUE(h.race.FormKeyDown(123));
}

TEST(LapInput, TheCounterIsReadOncePerPass) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  const int before = h.counter.reads;
  h.Key(5);
  EXPECT_EQ(h.counter.reads - before, 1);
}

TEST(LapInput, HighlightAndStandingsFollowEveryPass) {
  RaceHarness h;
  h.OnlyCars({1, 3, 11});
  ASSERT_TRUE(h.Start(3));  // common timing
  h.Wait(5);
  h.Key(3);
  EXPECT_TRUE(h.Row(3).lapsHighlighted);
  h.Wait(1);
  h.Key(11);
  EXPECT_FALSE(h.Row(3).lapsHighlighted);
  EXPECT_TRUE(h.Row(11).lapsHighlighted);
  EXPECT_EQ(h.race.Screen().runningOrder, "  3 11  1");
  EXPECT_EQ(h.Row(3).position, "1");
  EXPECT_EQ(h.Row(1).position, "3");
  EXPECT_EQ(h.observer.passes, (std::vector<int>{3, 11}));
}

TEST(LapInput, AFailedPassLineShowsTheErrorAndTheRaceGoesOn) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  h.sink.failPasses = true;
  h.Key(1);
  EXPECT_EQ(h.observer.errors, (Lines{"No space left on device"}));
  EXPECT_EQ(h.race.State().PassCount, 1);
  h.sink.failPasses = false;
  h.Wait(20);
  h.Key(1);
  EXPECT_EQ(h.sink.passes, (Lines{"2\t1\t1\t20,000\t00'20\"000"}));
}

TEST(LapInput, ACrossingIsTimedWhenItHappenedNotWhenItIsHandled) {
  RaceHarness h;
  h.OnlyCars({1, 2});
  ASSERT_TRUE(h.Start(3));  // 20 min, common timing: the start at counter 5 s
  const std::int64_t start = h.counter.now();
  const std::int64_t second = h.race.Timing().Frequency();
  // Pressed at 8 s, handled at 8.3 s behind a slow disk.
  h.Wait(8.3);
  EXPECT_TRUE(h.race.FormKeyDown(race::kVkF1, start + 8 * second));
  // A crossing sooner than the minimum lap, and the key of a car that does
  // not race, take the same time base.
  EXPECT_TRUE(h.race.CarCrossed(1, start + 9 * second));
  EXPECT_TRUE(h.race.CarCrossed(11, start + 8 * second + second / 2));
  EXPECT_EQ(h.sink.passes, (Lines{"1\t1\t1\t8,000\t00'08\"000"}));
  EXPECT_EQ(h.sink.events, (Lines{"1\t1\t--\t9,000\tERRO", "2\t11\t--\t8,500\tNOCO"}));
  // A press made before the start belongs to no race: taken, nothing written.
  EXPECT_TRUE(h.race.CarCrossed(2, start - second / 10));
  EXPECT_EQ(h.sink.passes.size(), 1u);
  EXPECT_EQ(h.sink.events.size(), 2u);
  h.race.Finalizar(true);
  EXPECT_FALSE(h.race.CarCrossed(1, h.counter.now()));
}

}  // namespace
