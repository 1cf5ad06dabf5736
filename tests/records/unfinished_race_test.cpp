#include "records/unfinished_race.h"

#include <gtest/gtest.h>

#include "records/naming.h"
#include "records/numbers.h"
#include "records/race_files.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

records::RunJournal Journal(const std::string& base) {
  records::RunJournal j;
  j.raceBase = base;
  j.cars = {1, 3, 12};
  j.individualTiming = false;
  j.raceMinutes = 20;
  j.minLapSeconds = 7;
  j.spanish = false;
  j.soundOn = true;
  j.frequency = 1000000000;
  j.startCount = 5000000000;
  j.startWallMillis = 65103045;
  j.startUnixNanos = 1796580303045000000;
  j.bootId = "7d6c2f0e-1a2b-4c3d-8e9f-0a1b2c3d4e5f";
  return j;
}

// A race started by the program's own writer, its files left open as a kill leaves them.
void StartedRace(const TempDir& dir, const std::string& base, const std::vector<std::string>& passes,
                 bool finish = false) {
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(dir.path(), lister);
  records::RaceStartRecord start;
  start.nextRaceBase = base;
  start.racesFileName = base.substr(0, 6) + "00.TXT";
  start.description = "Final";
  start.startLine = "Race 01 (20 minutes 3 cars) started at 18h5'3\"45";
  start.racesLine = "1\t20\t3\t18h05'03\"045\tFinal";
  start.journal = records::FormatRunJournal(Journal(base));
  ASSERT_TRUE(files.StartRace(start).ok);
  for (const auto& line : passes) ASSERT_TRUE(files.AppendPass(line).ok);
  ASSERT_TRUE(files.AppendEvent("1\t3\t--\t2,000\tERRO").ok);
  if (finish) {
    ASSERT_TRUE(files.FinishRace("Common timing. Race finished normally",
                                 {"1\t3\t1\t00'08\"000\t0,000", "2\t1\t0\t00'00\"000\t0,000",
                                  "3\t12\t0\t00'00\"000\t0,000"})
                    .ok);
  }
}

platform::LocalDateTime Day(int day) {
  testing_support::FakeClock clock;
  clock.time.day = day;
  return clock.time;
}

TEST(RunJournal, ReadsBackWhatItWroteAndRefusesAJournalCutShort) {
  const std::string text = records::FormatRunJournal(Journal("26120601"));
  const auto back = records::ParseRunJournal(text);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(records::FormatRunJournal(*back), text);
  EXPECT_FALSE(records::ParseRunJournal(text.substr(0, text.size() - 5)).has_value());
  EXPECT_FALSE(records::ParseRunJournal("TRELVIX-RUN 1\nrace=26120601\nend\n").has_value());
}

TEST(UnfinishedRace, TheNewestUnfinishedRaceIsReadBackWithoutItsTornLine) {
  TempDir dir;
  StartedRace(dir, "26120601", {}, true);
  StartedRace(dir, "26120602", {"1\t3\t1\t8,000\t00'08\"000", "2\t1\t1\t9,500\t00'09\"500"});
  // The power went in the middle of the third line.
  dir.Write("26120602.pss", dir.Read("26120602.pss") + "3\t3\t2\t1");
  platform::PosixDirectoryLister lister;
  const auto race = records::FindUnfinishedRace(lister, dir.path(), Day(6));
  ASSERT_TRUE(race.has_value());
  EXPECT_EQ(race->raceNumber, 2);
  EXPECT_EQ(race->description, "Final");
  EXPECT_EQ(race->journal.cars, (std::vector<int>{1, 3, 12}));
  ASSERT_EQ(race->passes.size(), 2u);
  EXPECT_EQ(race->passes[1].total, "00'09\"500");
  EXPECT_EQ(race->lastEvent, 1);
  // The day's count leaves the journals out: seven files of race and day.
  EXPECT_EQ(records::NumberDay(Day(6), lister.List(dir.path())).dayFileCount, 7);

  // Opened again for the race to go on, the file loses its torn line first.
  records::RaceFiles files(dir.path(), lister);
  ASSERT_TRUE(files.ResumeRace("26120602").ok);
  ASSERT_TRUE(files.AppendPass("3\t3\t2\t12,000\t00'20\"000").ok);
  EXPECT_EQ(dir.Read("26120602.pss"),
            "1\t3\t1\t8,000\t00'08\"000\r\n2\t1\t1\t9,500\t00'09\"500\r\n3\t3\t2\t12,000\t00'20\"000\r\n");
}

TEST(UnfinishedRace, OnlyTheNewestRaceOfTodayOrYesterdayCounts) {
  TempDir yesterday;
  StartedRace(yesterday, "26120503", {});
  platform::PosixDirectoryLister lister;
  EXPECT_TRUE(records::FindUnfinishedRace(lister, yesterday.path(), Day(6)).has_value());
  EXPECT_FALSE(records::FindUnfinishedRace(lister, yesterday.path(), Day(7)).has_value());

  // A newer race that finished hides an older one that did not.
  TempDir today;
  StartedRace(today, "26120601", {});
  StartedRace(today, "26120602", {}, true);
  EXPECT_FALSE(records::FindUnfinishedRace(lister, today.path(), Day(6)).has_value());
  EXPECT_FALSE(today.Exists("26120602.run"));
}

TEST(UnfinishedRace, AJournalLeftBehindByAKillInTheFinishIsRemovedOnlyWhenTheRaceIsComplete) {
  TempDir dir;
  StartedRace(dir, "26120601", {}, true);
  StartedRace(dir, "26120602", {}, true);
  StartedRace(dir, "26120603", {});
  // Killed after the classification and before its journal was removed.
  for (const std::string base : {"26120601", "26120602"}) {
    dir.Write(base + ".run", records::FormatRunJournal(Journal(base)));
  }
  // A power cut took race 02's last row: not complete.
  const std::string cls = dir.Read("26120602.cls");
  dir.Write("26120602.cls", cls.substr(0, cls.size() - 5));
  platform::PosixDirectoryLister lister;
  EXPECT_EQ(records::RemoveFinishedJournals(lister, dir.path()), 1);
  EXPECT_FALSE(dir.Exists("26120601.run"));
  EXPECT_TRUE(dir.Exists("26120602.run"));
  EXPECT_TRUE(dir.Exists("26120603.run"));
  EXPECT_TRUE(records::FindUnfinishedRace(lister, dir.path(), Day(6)).has_value());
}

TEST(UnfinishedRace, DurationsReadInBothForms) {
  EXPECT_EQ(records::ParseDurationMillis("05'03\"045"), 303045);
  EXPECT_EQ(records::ParseDurationMillis("1h 03'07\"042"), 3787042);
  EXPECT_FALSE(records::ParseDurationMillis("5'3\"45").has_value());
  EXPECT_FALSE(records::ParseDurationMillis("").has_value());
}

}  // namespace
