#include <gtest/gtest.h>

#include "race_harness.h"
#include "records/naming.h"
#include "records/readers.h"

namespace {

using race::TCarState;
using testing_support::RaceHarness;
using Lines = std::vector<std::string>;

// Ticks the clock every 222 ms for the given seconds.
void RunFor(RaceHarness& h, double seconds) {
  for (double t = 0; t < seconds; t += 0.222) {
    h.Wait(0.222);
    h.race.Timer1Timer();
  }
}

TEST(RaceRun, AWholeRaceLeavesItsFilesByteForByte) {
  testing_support::TempDir dir;
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(dir.path(), lister);
  RaceHarness h(&files);
  h.OnlyCars({1, 3});
  h.race.Setup().SetDescription(true, "Copa de invierno, 1ª manga");
  ASSERT_TRUE(h.Start(0, 1));  // 5 minutes, common timing, started 18:05:03.045
  h.Wait(8);
  h.Key(3);
  h.Wait(2);
  h.Key(1);
  h.Wait(3);
  h.Key(3);                                         // too soon: ERRO
  h.race.EventButton(events::EventKind::Refuel, 3);  // RPTJ
  h.Wait(20);
  h.Key(3);
  h.Key(12);  // does not race: NOCO
  ASSERT_TRUE(h.race.ManualEvent("pista\tcortada"));
  h.Wait(300);
  h.Key(3);  // past the race time: last lap
  h.Key(1);
  h.race.Timer1Timer();  // every car finished: normal end
  EXPECT_FALSE(h.race.State().Running);

  EXPECT_EQ(dir.Read("26120600.TXT"), "1\t5\t2\t18h05'03\"045\tCopa de invierno, 1\xAA manga\r\n");
  EXPECT_EQ(dir.Read("26120601.pss"),
            "1\t3\t1\t8,000\t00'08\"000\r\n"
            "2\t1\t1\t10,000\t00'10\"000\r\n"
            "3\t3\t2\t25,000\t00'33\"000\r\n"
            "4\t3\t3\t300,000\t05'33\"000\r\n"
            "5\t1\t2\t323,000\t05'33\"000\r\n");
  EXPECT_EQ(dir.Read("26120601.inc"),
            "1\t3\t--\t13,000\tERRO\r\n"
            "2\t3\t1\t13,000\tRPTJ\r\n"
            "3\t12\t--\t33,000\tNOCO\r\n"
            "4\t--\t--\t33,000\tMANU\tpista cortada\r\n");
  EXPECT_EQ(dir.Read("26120601.cls"),
            "Copa de invierno, 1\xAA manga\r\n"
            "Carrera 01 (5 minutos 2 coches) iniciada a las 18h5'3\"45\r\n"
            "Crono com\xFAn. Carrera terminada normalmente\r\n"
            "1\t3\t3\t05'33\"000\t25,000\r\n"
            "2\t1\t2\t05'33\"000\t323,000\r\n");
  EXPECT_EQ(h.race.Screen().nextFile, "26120602");
}

TEST(RaceRun, StartSetsCellsStatesAndScreen) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(3));  // common
  const auto& s = h.race.Screen();
  EXPECT_TRUE(s.running);
  EXPECT_EQ(s.raceStatus, "Empezada");
  EXPECT_EQ(h.Row(1).state, "En carrera");
  EXPECT_EQ(h.Row(1).lastLap, "0,000");
  EXPECT_EQ(h.Row(1).laps, "0");
  EXPECT_EQ(h.Row(11).laps, "");
  EXPECT_FALSE(h.Row(11).eventRowEnabled);
  EXPECT_TRUE(h.Row(10).eventRowEnabled);
  EXPECT_EQ(h.observer.runningChanges, std::vector<bool>{true});
  EXPECT_EQ(h.race.State().Standings[10], 10);
  EXPECT_EQ(h.race.State().Standings[11], 0);
  EXPECT_EQ(h.sink.lastStart.racesLine, "1\t20\t10\t18h05'03\"045\tDescripción de carrera");
  // A second start while running is refused.
  EXPECT_FALSE(h.race.Button1Click());
}

TEST(RaceRun, APastedLineBreakCannotSplitTheClassificationsFirstLine) {
  testing_support::TempDir dir;
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(dir.path(), lister);
  RaceHarness h(&files);
  h.race.Setup().SetDescription(true, "Final\r\nheat\tA");
  ASSERT_TRUE(h.Start(0));
  h.race.Finalizar(true);
  const auto read = records::ReadClassification(dir.Read("26120601.cls"));
  EXPECT_EQ(read.description, "Final  heat A");
  EXPECT_EQ(read.startLine.rfind("Carrera 01 (5 minutos 10 coches)", 0), 0u);
  EXPECT_TRUE(read.rows.messages.empty());
  EXPECT_EQ(read.rows.items.size(), 10u);
}

TEST(RaceRun, StartClearsTheLastRacesCountersAndPositions) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  h.Key(2);
  h.Key(11);
  h.race.Finalizar(true);
  EXPECT_EQ(h.Row(2).position, "1");
  ASSERT_TRUE(h.Start(0));
  EXPECT_EQ(h.race.Screen().passCount, "0");
  EXPECT_EQ(h.race.Screen().eventCount, "0");
  EXPECT_EQ(h.race.Screen().runningOrder, "");
  EXPECT_EQ(h.Row(2).position, "");
  EXPECT_EQ(h.race.Screen().message, "");
}

TEST(RaceRun, TimeUpThenEachCrossingFinishesItsCarThenTheNextTickEnds) {
  RaceHarness h;
  h.OnlyCars({1, 2, 3});
  ASSERT_TRUE(h.Start(0, 1));
  for (int n : {1, 2, 3}) h.Key(n);
  RunFor(h, 299.9);
  EXPECT_EQ(h.race.Screen().raceStatus, "Empezada");
  RunFor(h, 0.3);
  EXPECT_EQ(h.race.Screen().raceStatus, "Tiempo");
  h.Key(1);
  h.Key(2);
  h.race.Timer1Timer();
  EXPECT_TRUE(h.race.State().Running);
  h.Key(3);
  h.race.Timer1Timer();
  EXPECT_FALSE(h.race.State().Running);
  EXPECT_EQ(h.race.Screen().raceStatus, "Finalizada");
  EXPECT_EQ(h.sink.finishLine, "Crono común. Carrera terminada normalmente");
  for (int n : {1, 2, 3}) EXPECT_EQ(h.Row(n).state, "Parado");
}

TEST(RaceRun, EndsAtTheGraceLimitWhenACarNeverCrosses) {
  RaceHarness h;
  h.OnlyCars({1, 2});
  ASSERT_TRUE(h.Start(0, 1));
  h.Key(1);
  RunFor(h, 301);
  h.Key(1);
  EXPECT_EQ(h.Row(2).state, "En carrera");
  RunFor(h, 58.5);
  EXPECT_TRUE(h.race.State().Running);
  RunFor(h, 0.6);
  EXPECT_FALSE(h.race.State().Running);
  EXPECT_EQ(h.Row(2).state, "Parado");
  EXPECT_EQ(h.sink.rows, (Lines{"1\t1\t2\t05'01\"032\t301,032", "2\t2\t0\t00'00\"000\t0,000"}));
}

TEST(RaceRun, IndividualTimingCarsTurnToTimeOnTheirOwnClock) {
  RaceHarness h;
  h.OnlyCars({1, 2});
  ASSERT_TRUE(h.Start(0));
  h.Key(1);
  h.Wait(20);
  h.Key(2);  // car 2's race ends 20 s later than car 1's
  RunFor(h, 280.2);
  EXPECT_EQ(h.race.Screen().raceStatus, "Tiempo");
  EXPECT_EQ(h.Row(1).state, "Tiempo");
  EXPECT_EQ(h.Row(2).state, "En carrera");
  RunFor(h, 20);
  EXPECT_EQ(h.Row(2).state, "Tiempo");
  EXPECT_EQ(h.Car(2).State, TCarState::csTimeUp);
}

TEST(RaceRun, WatchedCarShowsItsRunningTime) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  h.race.Select(3);
  h.Wait(5);
  h.Key(3);
  h.Wait(312.345);
  h.race.Timer1Timer();
  EXPECT_EQ(h.race.Screen().watchedCar, "3: 05'12\"345");
  h.Wait(1);
  h.Key(3);  // finishes: the panel empties
  EXPECT_EQ(h.race.Screen().watchedCar, "");
}

TEST(RaceRun, NoParticipantsEveryKeyIsNocoAndTheRaceEndsAtTheRaceTime) {
  RaceHarness h;
  h.OnlyCars({});
  ASSERT_TRUE(h.Start(0));
  h.Key(1);
  h.Key(12);
  EXPECT_EQ(h.sink.events.size(), 2u);
  RunFor(h, 299.8);
  EXPECT_TRUE(h.race.State().Running);
  RunFor(h, 0.3);
  EXPECT_FALSE(h.race.State().Running);
}

TEST(RaceRun, OperatorStopAndAStopAfterTheRaceEnded) {
  RaceHarness h;
  h.OnlyCars({4, 6});
  ASSERT_TRUE(h.Start(3));  // 20 minutes, common
  h.Wait(30);
  h.Key(6);
  h.Wait(220.25);
  h.race.Finalizar(true);
  EXPECT_EQ(h.sink.finishLine, "Crono común. Carrera parada a 04'10\"250");
  EXPECT_EQ(h.sink.rows, (Lines{"1\t6\t1\t00'30\"000\t0,000", "2\t4\t0\t00'00\"000\t0,000"}));
  EXPECT_EQ(h.observer.runningChanges, (std::vector<bool>{true, false}));
  // Confirming a stop once the race has ended changes nothing and writes nothing.
  h.race.Finalizar(true);
  EXPECT_EQ(h.sink.finishes, 1);
  EXPECT_EQ(h.race.State().RaceNumber, 2);
}

TEST(RaceRun, EnglishWordsAndLongRacesWithHours) {
  RaceHarness h;
  h.race.ToggleLanguage();
  h.OnlyCars({1});
  h.race.RadioGroup2Click(race::kOtherDurationItem);
  h.race.SpinEdit1Change(90);
  ASSERT_TRUE(h.race.Button1Click());
  EXPECT_FALSE(h.race.State().UnderOneHour);
  EXPECT_EQ(h.sink.lastStart.startLine, "Race 01 (90 minutes 1 cars) started at 18h5'3\"45");
  EXPECT_EQ(h.Row(1).state, "Racing");
  h.Wait(3700);
  h.race.Timer1Timer();
  EXPECT_EQ(h.race.Screen().raceClock, "1h01'40\"");
  h.Key(1);
  EXPECT_EQ(h.Row(1).accumulated, "1h 01'40\"000");
  h.race.Finalizar(true);
  EXPECT_EQ(h.sink.finishLine, "Common timing. Race stopped at 1h 01'40\"000");
}

TEST(RaceRun, ClockShowsTimeOfDayWhenIdleAndCountsPastMidnight) {
  RaceHarness h;
  h.clock.time.hour = 23;
  h.clock.time.minute = 59;
  h.clock.time.second = 0;
  h.clock.time.millisecond = 0;
  h.race.Timer1Timer();
  EXPECT_EQ(h.race.Screen().raceClock, "23h59' 00\"");
  ASSERT_TRUE(h.Start(0));
  h.Wait(125);
  h.race.Timer1Timer();
  EXPECT_EQ(h.race.Screen().raceClock, "02'05\"");
}

TEST(RaceRun, SponsorLinePulsesBetweenGreenAndYellow) {
  RaceHarness h;
  std::vector<std::uint32_t> colours;
  for (int i = 0; i < 36; ++i) {
    h.race.Timer1Timer();
    colours.push_back(h.race.Screen().sponsorColour >> 16);
  }
  EXPECT_EQ(colours[0], 0u);
  EXPECT_EQ(colours[1], 0u);  // turned to rising at the bottom
  EXPECT_EQ(colours[2], 8u);
  EXPECT_EQ(colours[33], 255u);  // 31 steps of 8 to 248, then the top
  EXPECT_EQ(colours[34], 247u);
  EXPECT_EQ(colours[35], 239u);
  EXPECT_EQ(h.race.Screen().sponsorColour & 0xFFFFu, 0xFF00u);
}

TEST(RaceRun, AFailedStartStaysIdleAndShowsTheError) {
  RaceHarness h;
  h.sink.failStart = true;
  EXPECT_FALSE(h.Start(0));
  EXPECT_FALSE(h.race.State().Running);
  EXPECT_FALSE(h.race.Screen().running);
  EXPECT_EQ(h.observer.errors, (Lines{"No space left on device"}));
  EXPECT_TRUE(h.observer.runningChanges.empty());
  EXPECT_EQ(h.Row(1).state, "Parado");
  EXPECT_FALSE(h.Key(1));
}

TEST(RaceRun, AFailedFinishStillReturnsToIdle) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(0));
  h.sink.failFinish = true;
  h.race.Finalizar(true);
  EXPECT_FALSE(h.race.State().Running);
  EXPECT_EQ(h.observer.errors.size(), 1u);
}

TEST(RaceNumbering, NoStartAfterTheNinetyNinthRace) {
  RaceHarness h;
  h.race.SetNumbering("261206", 99);
  ASSERT_TRUE(h.Start(0));
  EXPECT_EQ(h.sink.lastStart.nextRaceBase, "26120699");
  h.race.Finalizar(true);
  EXPECT_EQ(h.race.Screen().nextFile, "");
  EXPECT_FALSE(h.Start(0));
  EXPECT_EQ(h.sink.starts, 1);
  ASSERT_EQ(h.observer.messages.size(), 1u);
  EXPECT_NE(h.observer.messages[0].find("No race numbers left"), std::string::npos);
}

TEST(RaceNumbering, NoStartWhenTheLimitWasReachedAtStartUp) {
  RaceHarness h;
  h.race.SetNumbering("261206", 0);
  EXPECT_FALSE(h.Start(0));
  EXPECT_EQ(h.sink.starts, 0);
}

TEST(RaceNumbering, ARestartContinuesAfterTheRacesOnDisk) {
  testing_support::TempDir dir;
  platform::PosixDirectoryLister lister;
  for (int run = 1; run <= 3; ++run) {
    const auto numbering = records::NumberDay(testing_support::FakeClock().time, lister.List(dir.path()));
    records::RaceFiles files(dir.path(), lister);
    RaceHarness h(&files);
    h.race.SetNumbering(numbering.dayBase, numbering.raceNumber);
    ASSERT_TRUE(h.Start(0));
    h.race.Finalizar(true);
  }
  EXPECT_TRUE(dir.Exists("26120603.cls"));
  EXPECT_EQ(dir.Read("26120600.TXT").size(), 3u * std::string("1\t5\t10\t18h05'03\"045\tDescripción de carrera\r\n").size() - 3);
}

}  // namespace
