// The meeting store through its interface, on a real SQLite file in a
// temporary folder.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "meeting/lineup.h"
#include "meeting/roster_csv.h"
#include "platform/sqlite_store.h"

namespace {

using meeting::StoreProblem;
namespace fs = std::filesystem;

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("trelvix_store_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Path() const { return (folder_ / platform::kStoreFileName).string(); }

  // Five drivers and a rotation meeting of them on two lanes, heats stored.
  meeting::MeetingId ClubNight(platform::SqliteStore& store) {
    meeting::Meeting m;
    m.date = {2026, 12, 8};
    m.name = "Club night";
    m.className = "GT";
    m.rotation.lanes = 2;
    for (const char* name : {"Ana", "Bea", "Carla", "Dani", "Eva"}) {
      meeting::Driver d;
      d.name = name;
      d.shortName = name;
      d.className = "GT";
      const auto id = store.SaveDriver(d);
      EXPECT_TRUE(id) << store.Status().detail;
      m.entrants.push_back(id.value_or(0));
    }
    const auto id = store.SaveMeeting(m);
    EXPECT_TRUE(id) << store.Status().detail;
    m.id = id.value_or(0);
    EXPECT_TRUE(store.AddHeats(m.id, meeting::RotationHeats(m))) << store.Status().detail;
    return m.id;
  }

  fs::path folder_;
};

TEST_F(StoreTest, KeepsEverythingAcrossReopeningWithTheLogAndSchemaVersion) {
  meeting::MeetingId id = 0;
  meeting::HeatResult result{2, "26120803", {{1, 31, 300'100, 9'200, meeting::CarStatus::Classified},
                                             {2, 0, 0, 0, meeting::CarStatus::DidNotStart}}};
  {
    platform::SqliteStore store(Path());
    ASSERT_TRUE(store.Status().ok()) << store.Status().detail;
    id = ClubNight(store);
    ASSERT_TRUE(store.LinkRace(id, 2, "26120803"));
    ASSERT_TRUE(store.EnterResult(id, result)) << store.Status().detail;
  }
  platform::SqliteStore store(Path());
  const auto meeting = store.MeetingById(id);
  ASSERT_TRUE(meeting);
  EXPECT_EQ(meeting->name, "Club night");
  EXPECT_EQ(meeting->entrants.size(), 5u);
  EXPECT_EQ(meeting->points, meeting::DefaultPoints());
  const auto heats = store.Heats(id);
  ASSERT_TRUE(heats);
  ASSERT_EQ(heats->size(), 5u);
  EXPECT_EQ((*heats)[1].raceId, "26120803");
  EXPECT_FALSE((*heats)[0].raceId);
  EXPECT_EQ((*heats)[1].heat, meeting::RotationHeats(*meeting)[1]);
  EXPECT_EQ(store.Results(id), std::vector{result});
  const auto link = store.HeatOfRace("26120803");
  ASSERT_TRUE(link && *link);
  EXPECT_EQ((*link)->heat, 2);
  EXPECT_EQ(store.IntegrityCheck(), "ok");

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(Path().c_str(), &db), SQLITE_OK);
  const auto pragma = [db](const char* sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    sqlite3_step(s);
    std::string text = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    return text;
  };
  EXPECT_EQ(pragma("PRAGMA journal_mode"), "wal");
  EXPECT_EQ(pragma("PRAGMA user_version"), std::to_string(platform::kStoreSchemaVersion));
  sqlite3_close(db);
}

TEST_F(StoreTest, ARerunUnlinksTheEarlierRaceAndItsResult) {
  platform::SqliteStore store(Path());
  const auto id = ClubNight(store);
  ASSERT_TRUE(store.LinkRace(id, 1, "26120801"));
  ASSERT_TRUE(store.EnterResult(id, {1, "26120801", {{1, 10, 60'000, 5'000, meeting::CarStatus::Classified}}}));
  ASSERT_TRUE(store.LinkRace(id, 1, "26120802"));
  const auto earlier = store.HeatOfRace("26120801");
  ASSERT_TRUE(earlier);
  EXPECT_FALSE(*earlier);
  EXPECT_TRUE(store.Results(id)->empty());
  // A late result of the earlier race no longer counts.
  EXPECT_FALSE(store.EnterResult(id, {1, "26120801", {}}));
  EXPECT_EQ(store.Status().problem, StoreProblem::Invalid);
  // Heats lined up: the drivers entered stay as they are.
  auto meeting = *store.MeetingById(id);
  meeting.entrants.pop_back();
  EXPECT_FALSE(store.SaveMeeting(meeting));
  meeting = *store.MeetingById(id);
  meeting.name = "Club night, renamed";
  EXPECT_TRUE(store.SaveMeeting(meeting));
}

TEST_F(StoreTest, ARaceNamesTheFullNamesOfItsHeatsDriversByCarAndNothingElse) {
  {
    // No database yet, read only: no names, and no file made.
    platform::SqliteStore reader(Path(), 250, platform::SqliteStore::Access::ReadOnly);
    EXPECT_TRUE(meeting::DriverNamesOfRace(reader, "26120803").empty());
    EXPECT_EQ(reader.Status().problem, StoreProblem::Missing);
    EXPECT_FALSE(fs::exists(Path()));
  }
  platform::SqliteStore store(Path());
  const auto id = ClubNight(store);
  auto bea = store.Drivers()->at(1);
  bea.name = "Bea Ruiz";  // the short name stays "Bea"
  ASSERT_TRUE(store.SaveDriver(bea)) << store.Status().detail;
  ASSERT_TRUE(store.LinkRace(id, 2, "26120803"));
  // Heat 2 of the rotation: Bea on lane 1, Dani on lane 2.
  const std::map<int, std::string> heat2{{1, "Bea Ruiz"}, {2, "Dani"}};
  EXPECT_EQ(meeting::DriverNamesOfRace(store, "26120803"), heat2);
  EXPECT_TRUE(meeting::DriverNamesOfRace(store, "26120804").empty());  // a race of no heat
  platform::SqliteStore reader(Path(), 250, platform::SqliteStore::Access::ReadOnly);
  EXPECT_EQ(meeting::DriverNamesOfRace(reader, "26120803"), heat2);
}

TEST_F(StoreTest, AnImportAppliesWholeOrNotAtAll) {
  platform::SqliteStore store(Path());
  ClubNight(store);
  const auto roster = *store.Drivers();
  const auto plan = meeting::PlanRosterImport("name,number\nana,7\nFran,8\nGus,9\n", roster);
  ASSERT_EQ(plan.added.size(), 2u);
  ASSERT_EQ(plan.changed.size(), 1u);
  // The roster changes between reading the file and applying it.
  meeting::Driver ana = roster[0];
  ana.number = 3;
  ASSERT_TRUE(store.SaveDriver(ana));
  EXPECT_FALSE(store.ApplyImport(plan));
  EXPECT_EQ(store.Status().problem, StoreProblem::Invalid);
  EXPECT_EQ(store.Drivers()->size(), 5u);
  // Read again, it applies.
  ASSERT_TRUE(store.ApplyImport(meeting::PlanRosterImport("name,number\nana,7\nFran,8\nGus,9\n", *store.Drivers())));
  const auto after = *store.Drivers();
  ASSERT_EQ(after.size(), 7u);
  EXPECT_EQ(after[0].number, 7);
  EXPECT_EQ(after[6].name, "Gus");
}

TEST_F(StoreTest, ABusyDamagedOrNewerDatabaseIsSaidAndLeftAlone) {
  {
    platform::SqliteStore store(Path(), 0);
    ClubNight(store);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(Path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    meeting::Driver d{0, "Hugo", "Hugo", {}, "GT", true};
    EXPECT_FALSE(store.SaveDriver(d));
    EXPECT_EQ(store.Status().problem, StoreProblem::Busy);
    EXPECT_NE(meeting::StoreProblemText(store.Status(), true).find("ocupada"), std::string::npos);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(store.SaveDriver(d)) << store.Status().detail;
    EXPECT_TRUE(store.Status().ok());
  }
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Path().c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA user_version=99", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    platform::SqliteStore store(Path());
    EXPECT_EQ(store.Status().problem, StoreProblem::TooNew);
    EXPECT_FALSE(store.Drivers());
  }
  const std::string junk = (folder_ / "junk.sqlite").string();
  std::ofstream(junk) << std::string(8192, 'x');
  platform::SqliteStore store(junk);
  EXPECT_EQ(store.Status().problem, StoreProblem::Corrupt) << store.Status().detail;
  EXPECT_FALSE(store.Meetings());
  std::ifstream in(junk);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string(8192, 'x'));
  EXPECT_NE(meeting::StoreProblemText(store.Status(), false).find("not affected"), std::string::npos);
}

}  // namespace
