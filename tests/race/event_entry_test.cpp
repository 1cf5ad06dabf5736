#include <gtest/gtest.h>

#include "race_harness.h"

namespace {

using events::EventKind;
using testing_support::RaceHarness;
using Lines = std::vector<std::string>;

TEST(EventEntry, PerCarEventsCarryLapsAndTheCarsOwnTime) {
  RaceHarness h;
  h.OnlyCars({3, 5});
  ASSERT_TRUE(h.Start(3));  // common timing
  for (int lap = 0; lap < 12; ++lap) {
    h.Wait(25);
    h.Key(3);
  }
  h.Key(3);  // ERRO
  h.Key(9);  // NOCO
  h.race.EventButton(EventKind::Boxes, 5);
  h.Wait(5.125);
  h.race.EventButton(EventKind::Refuel, 3);
  EXPECT_EQ(h.sink.events.back(), "4\t3\t12\t305,125\tRPTJ");
  EXPECT_EQ(h.race.Screen().message, "Reposta 3");
  EXPECT_EQ(h.race.Screen().eventCount, "4");
  h.race.EventButton(EventKind::StopAndGo, 3);
  EXPECT_EQ(h.race.Screen().message, "Stop&Go de 3");
  EXPECT_EQ(h.sink.events.back(), "5\t3\t12\t305,125\tS&G");
  h.race.EventButton(EventKind::Zurb, 5);
  EXPECT_EQ(h.sink.events.back(), "6\t5\t0\t305,125\tZURB");
  EXPECT_EQ(h.race.Screen().message, "Zurb de 5");
}

TEST(EventEntry, IndividualTimingCountsFromTheCarsFirstPass) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  h.Wait(10);
  h.race.EventButton(EventKind::OffTrack, 2);
  EXPECT_EQ(h.sink.events.back(), "1\t2\t0\t10,000\tSALE");
  h.Key(2);
  h.Wait(4);
  h.race.EventButton(EventKind::Rejoin, 2);
  EXPECT_EQ(h.sink.events.back(), "2\t2\t0\t4,000\tINCO");
}

TEST(EventEntry, RefusedForCarsNotRacingOrFinishedAndWhenIdle) {
  RaceHarness h;
  h.race.EventButton(EventKind::Stop, 1);
  EXPECT_TRUE(h.sink.events.empty());
  h.OnlyCars({1});
  ASSERT_TRUE(h.Start(0, 1));
  h.race.EventButton(EventKind::Stop, 2);
  h.Wait(301);
  h.Key(1);  // finishes car 1
  h.race.EventButton(EventKind::Stop, 1);
  EXPECT_TRUE(h.sink.events.empty());
  EXPECT_EQ(h.race.State().EventCount, 0);
}

TEST(EventEntry, ManualEvents) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  EXPECT_FALSE(h.race.ManualEvent(""));
  EXPECT_EQ(h.race.State().EventCount, 0);
  h.Wait(262.9);
  const std::string text = events::JoinManualText({"track blocked ", "at the bridge"});
  EXPECT_TRUE(h.race.ManualEvent(text));
  EXPECT_EQ(h.sink.events, (Lines{"1\t--\t--\t262,900\tMANU\ttrack blocked at the bridge"}));
  EXPECT_EQ(h.race.Screen().message, "1 manual");
}

TEST(EventEntry, EnglishMessages) {
  RaceHarness h;
  h.race.ToggleLanguage();
  ASSERT_TRUE(h.Start(0));
  h.race.EventButton(EventKind::Refuel, 3);
  EXPECT_EQ(h.race.Screen().message, "Refuels 3");
  h.Key(11);
  EXPECT_EQ(h.race.Screen().message, "2 F11 doesn't race");
}

TEST(EventEntry, AFailedEventLineIsReportedAndCounted) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  h.sink.failEvents = true;
  h.race.EventButton(EventKind::Refuel, 1);
  EXPECT_EQ(h.observer.errors, (Lines{"No space left on device"}));
  EXPECT_EQ(h.race.State().EventCount, 1);
  EXPECT_EQ(h.race.Screen().eventCount, "1");
  EXPECT_EQ(h.race.Screen().message, "");  // nothing is shown as done
  EXPECT_TRUE(h.race.State().Running);
  // A manual text whose line failed stays in the memo to be sent again.
  EXPECT_FALSE(h.race.ManualEvent("bandera roja"));
  h.sink.failEvents = false;
  EXPECT_TRUE(h.race.ManualEvent("bandera roja"));
  EXPECT_EQ(h.sink.events, (Lines{"3\t--\t--\t0,000\tMANU\tbandera roja"}));
}

}  // namespace
