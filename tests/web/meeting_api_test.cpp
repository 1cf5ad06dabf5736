// The meetings' JSON interface over a real store in a temporary folder,
// read through a connection opened for reading only, as the server does.
#include "web/meeting_api.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <map>

#include "meeting/board.h"
#include "meeting/lineup.h"
#include "platform/sqlite_store.h"
#include "support/temp_dir.h"
#include "web/board_feed.h"

namespace {

using platform::SqliteStore;

QJsonObject Object(const web::JsonAnswer& a) { return QJsonDocument::fromJson(a.body).object(); }

class MeetingApiTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir.File(platform::kStoreFileName); }

  // Three drivers of class "Mini-Z GT" in a rotation on two lanes (three
  // heats); every stint, Ana makes 30 laps, Bea 20 and Ñuño 10.
  void ClubNight() {
    meeting::Meeting m;
    m.date = {2026, 12, 8};
    m.name = "Club night";
    m.className = "Mini-Z GT";
    m.rotation.lanes = 2;
    for (const auto& [name, laps] : {std::pair{"Ana", 30}, {"Bea", 20}, {"Ñuño Pérez", 10}}) {
      meeting::Driver d{0, name, meeting::MakeShortName(name), std::nullopt, "Mini-Z GT", true};
      const auto id = writer.SaveDriver(d);
      ASSERT_TRUE(id) << writer.Status().detail;
      m.entrants.push_back(*id);
      lapsOf[*id] = laps;
    }
    id = writer.SaveMeeting(m).value_or(0);
    ASSERT_TRUE(writer.AddHeats(id, meeting::RotationHeats(m))) << writer.Status().detail;
  }
  void Run(int heat) {
    const std::string race = "261208" + std::string(heat < 10 ? "0" : "") + std::to_string(heat);
    meeting::HeatResult result{heat, race, {}};
    const auto heats = writer.Heats(id).value();
    for (const auto& seat : heats.at(heat - 1).heat.seats) {
      result.cars.push_back({seat.car, lapsOf[seat.driver], 300'000 + seat.car, 9'000, meeting::CarStatus::Classified});
    }
    ASSERT_TRUE(writer.LinkRace(id, heat, race));
    ASSERT_TRUE(writer.EnterResult(id, result)) << writer.Status().detail;
  }

  testing_support::TempDir dir;
  SqliteStore writer{Path()};
  SqliteStore reader{Path(), 100, SqliteStore::Access::ReadOnly};
  web::MeetingApi api{reader};
  meeting::MeetingId id = 0;
  std::map<meeting::DriverId, int> lapsOf;
};

TEST_F(MeetingApiTest, DriversMeetingsHeatsStandingsAndTheSeason) {
  ClubNight();
  Run(1);
  Run(2);
  const QJsonArray drivers = Object(api.Drivers())["drivers"].toArray();
  ASSERT_EQ(drivers.size(), 3);
  EXPECT_EQ(drivers[2]["name"].toString(), QStringLiteral("Ñuño Pérez"));
  const QJsonArray meetings = Object(api.Meetings())["meetings"].toArray();
  ASSERT_EQ(meetings.size(), 1);
  EXPECT_EQ(meetings[0]["id"].toInteger(), id);
  EXPECT_EQ(meetings[0]["format"].toString(), QStringLiteral("rotation"));

  const auto answer = api.Meeting(std::to_string(id));
  ASSERT_EQ(answer.status, 200);
  const QJsonObject m = Object(answer);
  const QJsonArray heats = m["heats"].toArray();
  ASSERT_EQ(heats.size(), 3);
  EXPECT_EQ(heats[1]["race"].toString(), QStringLiteral("26120802"));
  EXPECT_TRUE(heats[2]["race"].isNull());
  EXPECT_EQ(m["nextHeat"].toInt(), 3);
  // Each seat names the driver in that car, and the results the same driver.
  const auto stored = reader.Heats(id).value();
  for (int h = 0; h < 2; ++h) {
    for (const auto& value : heats[h]["seats"].toArray()) {
      const QJsonObject seat = value.toObject();
      const auto driver = stored[h].heat.DriverIn(seat["car"].toInt());
      ASSERT_TRUE(driver);
      EXPECT_EQ(seat["driver"].toInteger(), *driver);
    }
    for (const auto& value : m["results"].toArray().at(h)["cars"].toArray()) {
      const QJsonObject car = value.toObject();
      EXPECT_EQ(car["laps"].toInt(), lapsOf[car["driver"].toInteger()]);
    }
  }
  EXPECT_FALSE(m["standings"]["complete"].toBool());

  Run(3);
  const QJsonObject done = Object(api.Meeting(std::to_string(id)));
  EXPECT_TRUE(done["nextHeat"].isNull());
  const QJsonArray placings = done["standings"]["placings"].toArray();
  ASSERT_EQ(placings.size(), 3);
  EXPECT_EQ(placings[0]["name"].toString(), QStringLiteral("Ana"));
  EXPECT_EQ(placings[2]["name"].toString(), QStringLiteral("Ñuño Pérez"));
  EXPECT_EQ(placings[2]["points"].toInt(), 6);
  EXPECT_EQ(done["rotation"].toArray().at(0)["laps"].toInt(), 60);

  // The class as a club's site spells it in a link: any case, percent-encoded.
  const auto season = api.Season("mini-z%20gt/2026", "");
  ASSERT_EQ(season.status, 200);
  const QJsonArray rows = Object(season)["standings"].toArray();
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(rows[1]["name"].toString(), QStringLiteral("Bea"));
  EXPECT_EQ(rows[1]["points"].toInt(), 8);
  EXPECT_EQ(Object(api.Season("GT/2026", "1"))["standings"].toArray().size(), 0);

  for (const char* bad : {"0", "x1", "99", "1 ", "-1", "1234567890123456"})
    EXPECT_EQ(api.Meeting(bad).status, 404) << bad;
  for (const char* bad : {"GT/1999", "GT/2100", "GT", "GT/26", "%ff%fe/2026", "%0a/2026", "GT/2026/"}) {
    EXPECT_EQ(api.Season(bad, "").status, 404) << bad;
  }
  EXPECT_EQ(api.Season(std::string(600, 'a') + "/2026", "").status, 404);
  EXPECT_EQ(api.Season("GT/2026", "x").status, 400);
}

TEST_F(MeetingApiTest, ThePagesBoardFollowsThePreparedHeatOrTheHeatRunLast) {
  ClubNight();
  std::optional<meeting::HeatLink> prepared = meeting::HeatLink{id, 2};
  std::vector<std::shared_ptr<const meeting::Board>> shown;
  web::BoardFeed feed(
      writer, [&] { return prepared; },
      [&](std::shared_ptr<const meeting::Board> board) { shown.push_back(std::move(board)); });
  const auto nextHeat = [&] { return shown.back() && shown.back()->next ? shown.back()->next->number : 0; };
  feed.Refresh();
  ASSERT_EQ(nextHeat(), 2);

  // Heat 2 runs: linked at its start, its result entered after its finish.
  const auto heat = records::RaceId::Parse("26120802").value();
  const race::RaceSetup setup;
  const std::vector<race::FinishRow> rows;
  feed.RaceStarted({heat, setup});
  prepared.reset();
  feed.MeetingChanged(id);
  EXPECT_EQ(shown.size(), 1u);  // nothing is read while a race runs
  feed.RaceFinished({heat, false, rows});
  Run(2);
  feed.MeetingChanged(id);
  ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 3; }));
  EXPECT_EQ(nextHeat(), 1);  // the first heat without a result
  const QJsonObject board = QJsonDocument::fromJson(web::BoardJson(*shown.back(), false)).object();
  EXPECT_EQ(board["heat"].toString(), QStringLiteral("Heat 1/3"));
  EXPECT_EQ(board["lineup"].toArray().size(), 2);
  EXPECT_EQ(board["standings"][0]["points"].toInt(), 10);
  EXPECT_EQ(board["standings"][0]["laps"].toInt(), 20);  // Bea, in heat 2

  // A race of other cars takes it off the page.
  const auto practice = records::RaceId::Parse("26120803").value();
  feed.RaceStarted({practice, setup});
  feed.RaceFinished({practice, false, rows});
  ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 4; }));
  EXPECT_EQ(shown.back(), nullptr);
}

TEST_F(MeetingApiTest, AMissingOrDamagedDatabaseIsSaidAndNeverWritten) {
  testing_support::TempDir empty;
  SqliteStore none(empty.File(platform::kStoreFileName), 100, SqliteStore::Access::ReadOnly);
  const auto missing = web::MeetingApi(none).Meetings();
  EXPECT_EQ(missing.status, 503);
  EXPECT_EQ(QJsonDocument::fromJson(missing.body)["error"].toString(), QStringLiteral("missing"));
  EXPECT_FALSE(empty.Exists(platform::kStoreFileName));

  const std::string junk(4096, 'x');
  empty.Write(platform::kStoreFileName, junk);
  SqliteStore damaged(empty.File(platform::kStoreFileName), 100, SqliteStore::Access::ReadOnly);
  const auto corrupt = web::MeetingApi(damaged).Drivers();
  EXPECT_EQ(corrupt.status, 503);
  EXPECT_EQ(QJsonDocument::fromJson(corrupt.body)["error"].toString(), QStringLiteral("corrupt"));
  EXPECT_EQ(empty.Read(platform::kStoreFileName), junk);

  // The reader's own connection refuses any change.
  ClubNight();
  EXPECT_FALSE(reader.SaveDriver({0, "Zoe", "Zoe", std::nullopt, "", true}));
  EXPECT_EQ(reader.Status().problem, meeting::StoreProblem::ReadOnly);
  EXPECT_EQ(writer.Drivers().value().size(), 3u);
}

}  // namespace
