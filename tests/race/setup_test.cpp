#include "race/setup.h"

#include <gtest/gtest.h>

#include "race_harness.h"

namespace {

TEST(RaceSetup, DefaultsAtStartUp) {
  race::SetupChoices setup;
  EXPECT_EQ(setup.CountParticipants(), 10);
  EXPECT_FALSE(setup.Participates(11));
  EXPECT_EQ(setup.ReadRaceMinutes(), 5);
  EXPECT_TRUE(setup.IndividualTiming());
  EXPECT_EQ(setup.minLapSeconds(), 13);
  EXPECT_EQ(setup.Description(true), "Descripción de carrera");
  EXPECT_EQ(setup.Description(false), "Race description");
  EXPECT_FALSE(setup.SoundOn());
}

TEST(RaceSetup, TimingFollowsDuration) {
  race::SetupChoices setup;
  setup.ChooseDuration(3);  // 20 min
  EXPECT_FALSE(setup.IndividualTiming());
  setup.ChooseDuration(1);  // 10 min
  EXPECT_TRUE(setup.IndividualTiming());
  setup.ChooseDuration(race::kOtherDurationItem);
  setup.SetSpinMinutes(10);
  EXPECT_TRUE(setup.IndividualTiming());
  setup.SetSpinMinutes(11);
  EXPECT_FALSE(setup.IndividualTiming());
  EXPECT_EQ(setup.ReadRaceMinutes(), 11);
  // With "5 min" and common chosen by hand, any spin change brings individual back.
  setup.ChooseDuration(0);
  setup.ChooseTiming(1);
  setup.SetSpinMinutes(150);
  EXPECT_TRUE(setup.IndividualTiming());
  EXPECT_EQ(setup.ReadRaceMinutes(), 5);
}

TEST(RaceSetup, LimitsOfTheSpinBoxes) {
  race::SetupChoices setup;
  setup.ChooseDuration(race::kOtherDurationItem);
  setup.SetSpinMinutes(500);
  EXPECT_EQ(setup.ReadRaceMinutes(), 180);
  setup.SetSpinMinutes(0);
  EXPECT_EQ(setup.ReadRaceMinutes(), 1);
  setup.SetMinLapSeconds(1);
  EXPECT_EQ(setup.minLapSeconds(), 3);
}

TEST(RaceSetup, SoundNeedsTheBoxEnabledAndTicked) {
  race::SetupChoices setup;
  setup.SetSoundTicked(true);
  EXPECT_FALSE(setup.SoundOn());
  setup.SetSoundBoxEnabled(true);
  EXPECT_TRUE(setup.SoundOn());
}

TEST(SetupPanel, ParticipantBoxesCountAndSetStateWords) {
  testing_support::RaceHarness h;
  EXPECT_EQ(h.race.Screen().participantCount, "10");
  EXPECT_EQ(h.Row(11).state, "Desactivado");
  for (int n = 1; n <= 12; ++n) h.race.CheckBoxClick(n, false);
  EXPECT_EQ(h.race.State().Participants, 0);
  EXPECT_EQ(h.race.Screen().participantCount, "0");
  EXPECT_EQ(h.Row(1).state, "Desactivado");
  h.race.CheckBoxClick(12, true);
  EXPECT_EQ(h.Row(12).state, "Parado");
  h.race.ToggleLanguage();
  EXPECT_EQ(h.Row(12).state, "Stopped");
  EXPECT_EQ(h.Row(1).state, "Disabled");
  EXPECT_EQ(h.race.Screen().raceStatus, "Stopped");
}

TEST(SetupPanel, WatchedCarOnlyUnderIndividualTimingAndForParticipants) {
  testing_support::RaceHarness h;
  h.race.Select(11);  // does not take part
  EXPECT_EQ(h.race.State().WatchedCar, 0);
  h.race.Select(4);
  EXPECT_EQ(h.race.State().WatchedCar, 4);
  h.race.RadioGroup2Click(3);  // 20 min: common timing
  EXPECT_FALSE(h.race.Screen().watchedPanelVisible);
  h.race.Select(5);
  EXPECT_EQ(h.race.State().WatchedCar, 4);
}

TEST(SetupPanel, RaceLengthFollowsTheDurationChoiceAtEveryTick) {
  testing_support::RaceHarness h;
  h.race.Timer1Timer();
  EXPECT_EQ(h.race.Screen().raceLength, "5'");
  h.race.RadioGroup2Click(race::kOtherDurationItem);
  h.race.SpinEdit1Change(180);
  h.race.Timer1Timer();
  EXPECT_EQ(h.race.State().RaceMinutes, 180);
  EXPECT_EQ(h.race.Screen().raceLength, "180'");
}

TEST(SetupPanel, ARaceStartsFromSettingsMadeElsewhereAndThePanelShowsThem) {
  testing_support::RaceHarness h;
  race::RaceSetup heat;
  heat.participates[4] = heat.participates[9] = true;
  heat.minutes = 12;
  heat.individualTiming = true;  // whatever the length suggests
  heat.minLapSeconds = 20;
  heat.description = "Manga 3/7";
  h.race.ShowSetup(heat);
  EXPECT_EQ(h.race.Setup().Setup(true), heat);
  EXPECT_EQ(h.race.Screen().participantCount, "2");
  EXPECT_EQ(h.Row(1).state, "Desactivado");
  heat.minutes = 45;
  ASSERT_TRUE(h.race.StartRace(heat));
  EXPECT_EQ(h.race.Setup().durationItem(), 5);
  EXPECT_TRUE(h.race.Setup().IndividualTiming());
  EXPECT_EQ(h.sink.lastStart.racesLine, "1\t45\t2\t18h05'03\"045\tManga 3/7");
  h.Key(4);
  h.Wait(19);
  h.Key(4);  // within the heat's minimum lap
  EXPECT_EQ(h.sink.events, (std::vector<std::string>{"1\t4\t--\t19,000\tERRO"}));
}

}  // namespace
