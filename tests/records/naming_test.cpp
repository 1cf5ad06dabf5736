#include "records/naming.h"

#include <gtest/gtest.h>

#include "records/race_id.h"

#include "support/fakes.h"

namespace {

platform::LocalDateTime Dec6() {
  platform::LocalDateTime d;
  d.year = 2026;
  d.month = 12;
  d.day = 6;
  return d;
}

TEST(RaceId, ARaceNameItsNumberAndItsFiles) {
  const auto id = records::RaceId::Parse("26120607");
  ASSERT_TRUE(id);
  EXPECT_EQ(id->day(), "261206");
  EXPECT_EQ(id->number(), 7);
  EXPECT_EQ(id->FileName(".inc"), "26120607.inc");
  EXPECT_EQ(records::RaceId::OfFileName("26120607.CLS"), id);
  EXPECT_EQ(records::RaceId::Of("261206", 7), id);
  // The races file, a number past 99, other lengths and letters name no race.
  for (const char* name : {"26120600", "2612060", "261206070", "2612a607", "+2612060"}) {
    EXPECT_FALSE(records::RaceId::Parse(name)) << name;
  }
  EXPECT_FALSE(records::RaceId::OfFileName("26120600.TXT"));
  EXPECT_FALSE(records::RaceId::OfFileName("26120601pss"));
  EXPECT_FALSE(records::RaceId::Of("261206", 100));
}

TEST(DayNumbering, FirstRaceOfTheDayInAnEmptyFolder) {
  const auto n = records::NumberDay(Dec6(), {"notes.txt", "26120501.pss"});
  EXPECT_EQ(n.dayBase, "261206");
  EXPECT_EQ(n.dayFileCount, 0);
  EXPECT_EQ(n.raceNumber, 1);
  EXPECT_EQ(n.nextRaceBase, "26120601");
  EXPECT_EQ(n.racesFileName, "26120600.TXT");
  const std::vector<std::string> report = {"Fecha: 261206", "No hallo ficheros de hoy", "Base: 261206",
                                           "Siguiente: 01", "Índice: 26120600.TXT"};
  EXPECT_EQ(records::NumberingReportLines(n), report);
}

TEST(DayNumbering, ContinuesAfterTheHighestNumberOfAnyKind) {
  const auto n = records::NumberDay(
      Dec6(), {"26120600.TXT", "26120601.pss", "26120601.inc", "26120601.cls", "26120607.CLS", "26120603.pss"});
  EXPECT_EQ(n.dayFileCount, 6);
  EXPECT_EQ(n.highest, 7);
  EXPECT_EQ(n.nextRaceBase, "26120608");
  EXPECT_EQ(records::NumberingReportLines(n)[1], "6 fichero(s) de hoy");
}

TEST(DayNumbering, OddNamesCountAsDayFilesButGiveNoNumber) {
  const auto n = records::NumberDay(Dec6(), {"261206ab.txt", "2612069x.pss", "261206 9.pss", "26120605.pss.bak",
                                             "26120650", "261206999.pss", "261206ñ1.cls"});
  // "26120650" has no extension, "261206999.pss" has three characters before the point.
  EXPECT_EQ(n.dayFileCount, 4);
  EXPECT_EQ(n.highest, 5);
  EXPECT_EQ(n.raceNumber, 6);
}

TEST(DayNumbering, LongAndNonAsciiNamesNeitherCrashNorMisnumber) {
  const std::string longName = "26120642." + std::string(240, 'x');
  const auto n = records::NumberDay(Dec6(), {longName, "261206é1.pss", "2612064\xC3\xA9.cls", "\xFF\xFE\xFD",
                                             std::string(300, '2'), "26120607.pss"});
  EXPECT_EQ(n.highest, 42);
  EXPECT_EQ(n.dayFileCount, 2);  // the UTF-8 names have more than two characters before the point
  EXPECT_EQ(n.nextRaceBase, "26120643");
}

TEST(DayNumbering, LimitOfNinetyNineRaces) {
  const auto at98 = records::NumberDay(Dec6(), {"26120698.pss"});
  EXPECT_FALSE(at98.limitReached);
  EXPECT_EQ(at98.nextRaceBase, "26120699");
  const auto at99 = records::NumberDay(Dec6(), {"26120699.cls"});
  EXPECT_TRUE(at99.limitReached);
  EXPECT_EQ(at99.raceNumber, 0);
  EXPECT_TRUE(at99.nextRaceBase.empty());
  EXPECT_EQ(records::NumberingReportLines(at99).size(), 2u);
  const std::string message = records::kRaceLimitMessage;
  EXPECT_NE(message.find(",\r  te vas a comer el disco.\rMaximum"), std::string::npos);
  EXPECT_EQ(message.substr(message.size() - 33), "\r you are going to eat your disk.");
}

TEST(DayNumbering, DayBaseUsesTwoDigitYearMonthAndDay) {
  platform::LocalDateTime d;
  d.year = 2031;
  d.month = 3;
  d.day = 9;
  EXPECT_EQ(records::DayBase(d), "310309");
}

TEST(FindEntryIgnoringCase, FindsTheRacesFileWhateverItsCase) {
  testing_support::FakeLister lister;
  lister.names = {"x.txt", "26120600.txt"};
  EXPECT_EQ(records::FindEntryIgnoringCase(lister, ".", "26120600.TXT"), "26120600.txt");
  lister.names = {"26120600.txt", "26120600.TXT"};
  EXPECT_EQ(records::FindEntryIgnoringCase(lister, ".", "26120600.TXT"), "26120600.TXT");
  lister.names = {"26120600.TXT.old"};
  EXPECT_EQ(records::FindEntryIgnoringCase(lister, ".", "26120600.TXT"), "");
}

}  // namespace
