#include "web/record_api.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/directory.h"
#include "race/race_harness.h"
#include "records/corrections.h"
#include "records/race_files.h"
#include "support/temp_dir.h"

namespace {

QJsonObject Object(const QByteArray& json) { return QJsonDocument::fromJson(json).object(); }

// Real record files, written by the program's own writer for two races of 6 December 2026.
class RecordApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::RaceHarness h(&files);
    h.race.Setup().SetDescription(true, "Final A");
    h.OnlyCars({3, 7});
    ASSERT_TRUE(h.Start());
    h.Wait(1.0);
    h.Key(3);  // the first crossings start the cars' own clocks
    h.Key(7);
    h.Wait(14.5);
    h.Key(7);
    h.race.Finalizar(true);
    ASSERT_TRUE(h.Start());  // race 02, left unfinished
  }

  testing_support::TempDir dir;
  platform::PosixDirectoryLister lister;
  records::RaceFiles files{dir.path(), lister};
  web::RecordApi api{dir.path(), lister};
};

TEST_F(RecordApiTest, DaysAndTheRacesOfADay) {
  EXPECT_EQ(Object(api.Days())["days"].toArray(), QJsonArray{QStringLiteral("261206")});
  const auto day = api.Day("261206");
  ASSERT_TRUE(day);
  const QJsonArray races = Object(*day)["races"].toArray();
  ASSERT_EQ(races.size(), 2);
  EXPECT_EQ(races[0]["race"].toString(), QStringLiteral("26120601"));
  EXPECT_EQ(races[0]["description"].toString(), QStringLiteral("Final A"));
  EXPECT_EQ(races[0]["cars"].toInt(), 2);
  EXPECT_FALSE(api.Day("261205"));
}

TEST_F(RecordApiTest, ARaceWithItsClassificationPassesAndEvents) {
  const auto race = api.Race("26120601");
  ASSERT_TRUE(race);
  const QJsonObject o = Object(*race);
  EXPECT_TRUE(o["finished"].toBool());
  const QJsonArray rows = o["classification"].toArray();
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0]["car"].toInt(), 7);
  EXPECT_EQ(rows[0]["laps"].toInt(), 1);
  EXPECT_DOUBLE_EQ(rows[0]["fastestLap"].toDouble(), 14.5);
  const QJsonArray passes = o["passes"].toArray();
  ASSERT_EQ(passes.size(), 3);
  EXPECT_EQ(passes[2]["car"].toInt(), 7);
  EXPECT_DOUBLE_EQ(passes[2]["lapTime"].toDouble(), 14.5);
  EXPECT_TRUE(o["events"].toArray().isEmpty());
  EXPECT_FALSE(Object(*api.Race("26120602"))["finished"].toBool());
}

TEST_F(RecordApiTest, TheClassificationAndLapsAreTheCorrectedOnes) {
  // Car 7's one lap of 14,5 hid a missed crossing: the lap is split in two.
  records::Correction split{records::Correction::Kind::AddLap, 1, 7, 3, -1, 0, 0, 0, "missed"};
  dir.Write("26120601.inc", records::EncodeLine(records::CorrectionLine(split, "--")));
  const QJsonObject o = Object(*api.Race("26120601"));
  EXPECT_TRUE(o["corrected"].toBool());
  EXPECT_EQ(o["classification"][0]["car"].toInt(), 7);
  EXPECT_EQ(o["classification"][0]["laps"].toInt(), 2);
  EXPECT_DOUBLE_EQ(o["classification"][0]["fastestLap"].toDouble(), 7.25);
  EXPECT_EQ(o["passes"].toArray().size(), 3);  // the passes stay as they were pressed
  const QJsonArray laps = o["laps"].toArray();
  ASSERT_EQ(laps.size(), 2);
  EXPECT_EQ(laps[0]["car"].toInt(), 7);  // in the classification's order
  const QJsonArray car7 = laps[0]["laps"].toArray();
  ASSERT_EQ(car7.size(), 2);
  EXPECT_TRUE(car7[0]["pass"].isNull());
  EXPECT_DOUBLE_EQ(car7[0]["lapTime"].toDouble(), 7.25);
  EXPECT_EQ(car7[1]["pass"].toInt(), 3);
  EXPECT_EQ(o["events"][0]["type"].toString(), QStringLiteral("CORR"));
}

TEST_F(RecordApiTest, AFileWithANumberThatDoesNotConvertSaysWhereItsReadingStopped) {
  // Hand-edited files of another day: each has a number that reads as a word.
  dir.Write("26120700.TXT", "1\t5\t2\t18h05'03\"045\tFinal\r\n2\tfive\t2\t18h15'00\"000\tOtra\r\n");
  dir.Write("26120701.cls", "Final\r\nS\r\nF\r\n1\t7\t2\t00'30\"000\t14,5\r\n2\t3\tdos\t00'31\"000\t15\r\n");
  dir.Write("26120701.pss", "1\t7\t0\t0,89\t00'00\"890\r\n2\tseven\t1\t14,5\t00'15\"390\r\n3\t7\t2\t14,6\tT\r\n");
  const QJsonObject day = Object(*api.Day("261207"));
  EXPECT_EQ(day["races"].toArray().size(), 1);
  const QJsonObject races = day["reading"]["races"].toObject();
  EXPECT_FALSE(races["complete"].toBool());
  EXPECT_EQ(races["stoppedAtLine"].toInt(), 2);
  EXPECT_EQ(races["reason"].toString(), QStringLiteral("not-a-number"));
  EXPECT_EQ(races["message"].toString(), QStringLiteral("'five' is not a valid integer value"));

  const QJsonObject race = Object(*api.Race("26120701"));
  EXPECT_EQ(race["classification"].toArray().size(), 1);
  EXPECT_EQ(race["passes"].toArray().size(), 1);
  const QJsonObject reading = race["reading"].toObject();
  EXPECT_EQ(reading["classification"]["stoppedAtLine"].toInt(), 5);
  EXPECT_EQ(reading["passes"]["stoppedAtLine"].toInt(), 2);
  EXPECT_EQ(reading["passes"]["message"].toString(), QStringLiteral("'seven' is not a valid integer value"));
  // A missing file is no file read short.
  EXPECT_FALSE(reading["events"]["present"].toBool());
  EXPECT_TRUE(reading["events"]["complete"].toBool());
  EXPECT_TRUE(reading["events"]["stoppedAtLine"].isNull());
  // Files read whole say so.
  const QJsonObject whole = Object(*api.Race("26120601"))["reading"].toObject();
  for (const char* file : {"classification", "passes"}) {
    EXPECT_TRUE(whole[QLatin1String(file)]["present"].toBool()) << file;
    EXPECT_TRUE(whole[QLatin1String(file)]["complete"].toBool()) << file;
  }
}

TEST_F(RecordApiTest, TheLastClassificationIsTheLatestRace) {
  EXPECT_EQ(Object(api.LastClassification())["race"].toString(), QStringLiteral("26120602"));
  // Only the classification: the passes stay in GET /api/races.
  EXPECT_FALSE(Object(api.LastClassification()).contains(QStringLiteral("passes")));
}

TEST_F(RecordApiTest, NamesThatAreNotRecordNamesReadNothing) {
  dir.Write("26120603.cls", "Tercera\r\n");
  for (const char* name : {"../../etc/passwd", "2612060", "261206011", "26120600", "2612060a", "/etc/pas", "..261206",
                           "26120601.cls", "%2e%2e/x", "26\\2060"}) {
    EXPECT_FALSE(api.Race(name)) << name;
    EXPECT_FALSE(api.Day(name)) << name;
  }
  // Beside them, a record name reads its file: what was refused was the names.
  EXPECT_TRUE(api.Race("26120603"));
  EXPECT_TRUE(web::IsDayName("261206"));
  EXPECT_FALSE(web::IsDayName("26120"));
}

}  // namespace
