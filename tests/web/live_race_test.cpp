#include "web/live_race.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "race/race_harness.h"
#include "web/live_feed.h"

namespace {

TEST(LiveRaceTest, TheRunningOrderWithTheLastCarMarked) {
  testing_support::RaceHarness h;
  h.race.Setup().SetDescription(true, "Manga 2");
  h.OnlyCars({2, 5, 9});
  ASSERT_TRUE(h.Start(3));  // 20 minutes: common timing
  h.Wait(14.0);
  h.Key(5);
  h.Wait(14.0);
  h.Key(9);
  h.Wait(0.5);
  h.Key(5);
  const web::LiveRace live = web::LiveRaceFrom(h.race);
  EXPECT_TRUE(live.running);
  EXPECT_EQ(live.race, "26120601");
  EXPECT_EQ(live.description, "Manga 2");
  EXPECT_EQ(live.length, "20'");
  EXPECT_EQ(live.passes, 3);
  ASSERT_EQ(live.cars.size(), 3u);
  EXPECT_EQ(live.cars[0].car, 5);
  EXPECT_EQ(live.cars[0].laps, 2);
  EXPECT_EQ(live.cars[0].lastLap, "14,500");
  EXPECT_TRUE(live.cars[0].last);
  EXPECT_EQ(live.cars[1].car, 9);
  EXPECT_FALSE(live.cars[1].last);
  EXPECT_EQ(live.cars[2].car, 2);
  EXPECT_EQ(live.cars[2].position, 3);
  EXPECT_EQ(live.cars[2].state, "En carrera");
}

TEST(LiveRaceTest, BetweenRacesNoCarsAndTheLastClassificationInTheJson) {
  testing_support::RaceHarness h;
  h.race.ToggleLanguage();
  const web::LiveRace live = web::LiveRaceFrom(h.race);
  EXPECT_FALSE(live.running);
  EXPECT_TRUE(live.cars.empty());
  const QJsonObject o = QJsonDocument::fromJson(web::LiveRaceJson(live, R"({"race":"26120509"})")).object();
  EXPECT_EQ(o["language"].toString(), QStringLiteral("en"));
  EXPECT_EQ(o["status"].toString(), QStringLiteral("Stopped"));
  EXPECT_TRUE(o["race"].isNull());
  EXPECT_EQ(o["last"]["race"].toString(), QStringLiteral("26120509"));
  EXPECT_TRUE(QJsonDocument::fromJson(web::LiveRaceJson(live, {})).object()["last"].isNull());
}

TEST(LiveFeedTest, EachFactIsPublishedWithItsLineOnDisk) {
  testing_support::RaceHarness h;
  std::vector<std::pair<int, std::size_t>> published;  // passes shown, lines on disk then
  web::LiveFeed feed(
      h.race, [] { return true; },
      [&](web::LiveRace live) { published.emplace_back(live.passes, h.sink.passes.size()); });
  h.race.AddListener(&feed);
  ASSERT_TRUE(h.Start());
  h.Key(1);
  h.Key(2);
  h.race.EventButton(events::EventKind::Refuel, 1);
  h.race.Timer1Timer();  // the clock
  EXPECT_EQ(published, (std::vector<std::pair<int, std::size_t>>{{0, 0}, {1, 1}, {2, 2}, {2, 2}, {2, 2}}));
  h.race.Finalizar(true);
  EXPECT_EQ(published.size(), 6u);
}

TEST(LiveFeedTest, AHeatShowsItsDriversBesideTheCarNumbers) {
  testing_support::RaceHarness h;
  web::LiveRace last;
  web::LiveFeed feed(
      h.race, [] { return true; }, [&](web::LiveRace live) { last = std::move(live); });
  std::string asked;
  feed.SetNamesLookup([&](const records::RaceId& race) {
    asked = race.Text();
    return race::DriverNames{{1, "Ana"}, {2, "Ñuño"}};
  });
  h.race.AddListener(&feed);
  h.OnlyCars({1, 2, 3});
  ASSERT_TRUE(h.Start());
  h.Key(2);
  EXPECT_EQ(asked, last.race);
  ASSERT_EQ(last.cars.size(), 3u);
  const QJsonArray cars = QJsonDocument::fromJson(web::LiveRaceJson(last, {})).object()["cars"].toArray();
  for (const auto& value : cars) {
    const QJsonObject c = value.toObject();
    const int car = c["car"].toInt();
    if (car == 3) {
      EXPECT_TRUE(c["driver"].isNull());
    } else {
      EXPECT_EQ(c["driver"].toString(), car == 1 ? QStringLiteral("Ana") : QStringLiteral("Ñuño"));
    }
  }
}

TEST(LiveFeedTest, NothingIsTakenWhileTheServerIsOff) {
  testing_support::RaceHarness h;
  int published = 0;
  web::LiveFeed feed(
      h.race, [] { return false; }, [&](web::LiveRace) { ++published; });
  h.race.AddListener(&feed);
  feed.Publish();
  h.race.Timer1Timer();
  EXPECT_EQ(published, 0);
}

}  // namespace
