// The track gate's passes with the keys as its backup.
#include <gtest/gtest.h>

#include "race_harness.h"

namespace {

using testing_support::RaceHarness;
using Lines = std::vector<std::string>;

// A 20-minute race under common timing with cars 3 and 5, the gate up and
// car 3 seen by it at 8 s. Times are seconds from the start.
struct GateRace : RaceHarness {
  GateRace() {
    OnlyCars({3, 5});
    race.SetGateConnected(true);
    EXPECT_TRUE(Start(3));
    start = counter.now();
    HandledAt(8.2);
    race.GateCrossed(3, At(8), false);
  }
  std::int64_t At(double seconds) const { return start + race.Timing().SecondsToTicks(seconds); }
  // The counter moves on to when the program handles the next input.
  void HandledAt(double seconds) { counter.AdvanceTicks(At(seconds) - counter.now()); }
  bool KeyAt(int car, double seconds) { return race.CarCrossed(car, At(seconds)); }
  std::int64_t start = 0;
};

TEST(GateInput, TheGatesCrossingWinsOverAKeyForTheSameCrossing) {
  GateRace h;
  // The gate's line first, then the director's key 120 ms after the crossing.
  h.HandledAt(30.25);
  h.race.GateCrossed(3, h.At(30), false);
  h.HandledAt(30.3);
  EXPECT_TRUE(h.KeyAt(3, 30.12));
  // The key first: it waits, and the gate's line 250 ms late replaces it.
  h.HandledAt(50.12);
  h.KeyAt(3, 50.12);
  EXPECT_EQ(h.race.NextKeyRelease(), h.At(50.62));
  h.HandledAt(50.25);
  h.race.GateCrossed(3, h.At(50), false);
  h.HandledAt(51);
  h.race.ReleaseHeldKeys();
  EXPECT_EQ(h.sink.passes,
            (Lines{"1\t3\t1\t8,000\t00'08\"000", "2\t3\t2\t22,000\t00'30\"000", "3\t3\t3\t20,000\t00'50\"000"}));
  EXPECT_EQ(h.sink.events, (Lines{"1\t3\t--\t30,120\tTECL\tTecla F3 sustituida por el sensor (30,000)",
                                  "2\t3\t--\t50,120\tTECL\tTecla F3 sustituida por el sensor (50,000)"}));
  EXPECT_EQ(h.race.Screen().message, "2 F3: sensor");
  EXPECT_EQ(h.sound.played, (Lines{"BEEP"}));  // the start's: a note makes no sound
}

TEST(GateInput, AKeyTheGateDoesNotConfirmCountsAtItsPress) {
  GateRace h;
  h.HandledAt(9);
  h.KeyAt(5, 9);  // never seen by the gate: a pass at once
  EXPECT_EQ(h.sink.passes.size(), 2u);
  // Car 3's key waits 500 ms for the gate, then counts as pressed; the
  // gate's line for the same crossing, later still, is refused as too short.
  h.HandledAt(30);
  h.KeyAt(3, 30);
  h.HandledAt(30.49);
  h.race.ReleaseHeldKeys();
  EXPECT_EQ(h.sink.passes.size(), 2u);
  h.HandledAt(30.7);
  h.race.ReleaseHeldKeys();
  h.race.GateCrossed(3, h.At(29.9), false);
  // Two presses while waiting: the tick delivers both in press order.
  h.HandledAt(50);
  h.KeyAt(3, 50);
  h.KeyAt(3, 49.95);
  h.HandledAt(50.6);
  h.race.Timer1Timer();
  EXPECT_EQ(h.sink.events.size(), 2u);
  // The gate goes away: a waiting key counts at once, later keys do not wait.
  h.HandledAt(70);
  h.KeyAt(3, 70);
  h.race.SetGateConnected(false);
  h.HandledAt(90);
  h.KeyAt(3, 90);
  EXPECT_EQ(h.sink.passes,
            (Lines{"1\t3\t1\t8,000\t00'08\"000", "2\t5\t1\t9,000\t00'09\"000", "3\t3\t2\t22,000\t00'30\"000",
                   "4\t3\t3\t19,950\t00'49\"950", "5\t3\t4\t20,050\t01'10\"000", "6\t3\t5\t20,000\t01'30\"000"}));
  EXPECT_EQ(h.sink.events, (Lines{"1\t3\t--\t29,900\tERRO", "2\t3\t--\t50,000\tERRO"}));
}

TEST(GateInput, WaitingKeysCountBeforeWhatFollowsThem) {
  GateRace h;
  // Still waiting when the gate's next crossing of the car comes in: the
  // key stands for a crossing the gate missed and counts first.
  h.HandledAt(30);
  h.KeyAt(3, 30);
  h.HandledAt(50.2);
  h.race.GateCrossed(3, h.At(50), false);
  // And still waiting when the race is stopped.
  h.HandledAt(20 * 60 + 5);
  h.KeyAt(3, 20 * 60 + 5);  // after the race time: the car's last lap
  h.race.Finalizar(true);
  EXPECT_EQ(h.sink.passes, (Lines{"1\t3\t1\t8,000\t00'08\"000", "2\t3\t2\t22,000\t00'30\"000",
                                  "3\t3\t3\t20,000\t00'50\"000", "4\t3\t4\t1155,000\t20'05\"000"}));
  EXPECT_EQ(h.sink.rows.front(), "1\t3\t4\t20'05\"000\t20,000");
  EXPECT_EQ(h.race.NextKeyRelease(), std::nullopt);
}

TEST(GateInput, AGatePassTimedWithLessAccuracySaysSo) {
  GateRace h;
  h.HandledAt(30.2);
  h.race.GateCrossed(3, h.At(30), true);
  EXPECT_EQ(h.sink.passes.back(), "2\t3\t2\t22,000\t00'30\"000");
  EXPECT_EQ(h.sink.events, (Lines{"1\t3\t--\t30,000\tSENS\tPaso del sensor con menos precisión"}));
  EXPECT_EQ(h.race.Screen().message, "1 F3: aprox.");
  // A refused pass is no pass: nothing to say of its accuracy.
  h.race.GateCrossed(3, h.At(31), true);
  EXPECT_EQ(h.sink.events.back(), "2\t3\t--\t31,000\tERRO");
}

TEST(GateInput, ACrossingStampedBeforeTheStartIsNeverAPass) {
  RaceHarness h;
  h.OnlyCars({1, 2});
  h.race.SetGateConnected(true);
  ASSERT_TRUE(h.Start(3));
  const std::int64_t before = h.counter.now() - 1;
  h.Wait(0.2);
  // Whether its line comes just after the start or seconds later.
  EXPECT_TRUE(h.race.CarCrossed(1, before));
  EXPECT_TRUE(h.race.GateCrossed(2, before, false));
  EXPECT_TRUE(h.race.CarCrossed(11, before));
  EXPECT_FALSE(h.race.ProcessPass(1, before));
  h.Wait(5);
  EXPECT_TRUE(h.race.GateCrossed(2, before, false));
  EXPECT_TRUE(h.sink.passes.empty());
  EXPECT_TRUE(h.sink.events.empty());
  EXPECT_EQ(h.race.State().EventCount, 0);
  // Nor was car 2 seen in this race: its key is a pass at once.
  h.race.CarCrossed(2, h.counter.now());
  EXPECT_EQ(h.sink.passes, (Lines{"1\t2\t1\t5,200\t00'05\"200"}));
}

}  // namespace
