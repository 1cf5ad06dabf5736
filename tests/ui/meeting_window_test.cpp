// The meeting window and its ear on the race's facts, over a real store in
// a temporary record folder: "Prepare" fills the setup panel, the start
// links the heat, the finish enters the result read from the record files.
#include <QCoreApplication>
#include <algorithm>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "meeting/lineup.h"
#include "platform/directory.h"
#include "platform/file_dialogs.h"
#include "platform/sqlite_store.h"
#include "records/race_id.h"
#include "browser_fixture.h"
#include "support/fake_message_boxes.h"
#include "support/temp_dir.h"
#include "ui/meeting_link.h"
#include "ui/meeting_window.h"

namespace {

class AnsweringDialogs final : public platform::FileDialogs {
 public:
  std::optional<QString> SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return answer; }
  std::optional<QString> FolderName(QWidget*, const QString&) override { return answer; }
  std::optional<QString> OpenFileName(QWidget*, const QString&, const QString&) override { return answer; }
  std::optional<QString> answer;
};

class MeetingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    meeting::Meeting m;
    m.date = {2026, 12, 8};
    m.name = "Club night";
    m.className = "GT";
    m.rotation = {2, 3};
    for (const char* name : {"Ana", "Bea", "Carla", "Dani", "=Eva"}) {
      m.entrants.push_back(*store.SaveDriver({0, name, name, {}, "GT", true}));
    }
    id = *store.SaveMeeting(m);
    window.Prepare(false);
    window.SelectMeeting(id);
  }

  // A start of the race with the cars the panel shows; its finish with the
  // classification file the race would have written.
  void Start(const std::string& race, bool resumed = false) {
    const auto name = *records::RaceId::Parse(race);
    link.RaceStarted({name, shown, resumed, 0});
    QCoreApplication::processEvents();
  }
  void Finish(const std::string& race, const std::string& rows) {
    dir.Write(race + ".cls", "Club night\r\nRace 01 (3 minutes 2 cars) started at 18h5'3\"45\r\n"
                             "Common timing. Race finished normally\r\n" + rows);
    const auto name = *records::RaceId::Parse(race);
    const std::vector<race::FinishRow> none;
    link.RaceFinished({name, false, none, 0});
    QCoreApplication::processEvents();
  }
  std::optional<meeting::HeatLink> LinkOf(const std::string& race) { return store.HeatOfRace(race).value_or(std::nullopt); }

  testing_support::TempDir dir;
  platform::SqliteStore store{dir.File(platform::kStoreFileName)};
  platform::PosixDirectoryLister lister;
  testing_support::FakeMessageBoxes boxes;
  AnsweringDialogs dialogs;
  ui::MeetingLink link{store, lister, dir.path()};
  race::RaceSetup shown{};
  testing_support::PagePrinter printer;
  ui::MeetingWindow window{{store, boxes, dialogs, link, [] { return race::RaceSetup{}; },
                            [this](const race::RaceSetup& setup) { shown = setup; }, &printer}};
  meeting::MeetingId id = 0;
};

TEST_F(MeetingWindowTest, PreparesAHeatLinksItAtTheStartAndEntersItsResultAtTheFinish) {
  QTableWidget* heats = window.heatsGrid();
  ASSERT_EQ(heats->rowCount(), 5);
  EXPECT_EQ(heats->item(0, 1)->text(), "Ana");
  EXPECT_EQ(heats->item(0, 2)->text(), "Carla");

  race::DriverNames announced;
  link.SetOnPrepared([&announced](const race::DriverNames& lineUp) { announced = lineUp; });
  ASSERT_TRUE(window.PrepareHeat());
  EXPECT_EQ(announced, (race::DriverNames{{1, "Ana"}, {2, "Carla"}}));
  EXPECT_EQ(shown.Cars(), (std::vector<int>{1, 2}));
  EXPECT_EQ(shown.minutes, 3);
  EXPECT_FALSE(shown.individualTiming);
  EXPECT_EQ(shown.description, "Club night · Heat 1/5");

  // A crashed race taken in again is no new heat.
  Start("26120801", true);
  EXPECT_FALSE(LinkOf("26120801"));
  Start("26120802");
  ASSERT_TRUE(LinkOf("26120802"));
  // The heat's passes can be read with its drivers' names; no other race's.
  EXPECT_EQ(link.NamesOf(*records::RaceId::Parse("26120802")).at(2), "Carla");
  EXPECT_TRUE(link.NamesOf(*records::RaceId::Parse("26120801")).empty());
  EXPECT_EQ(LinkOf("26120802")->heat, 1);
  Finish("26120802", "1\t2\t12\t03'01\"500\t14,200\r\n2\t1\t11\t03'05\"000\t15,000\r\n");
  const auto results = *store.Results(id);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].raceId, "26120802");
  EXPECT_EQ(results[0].cars, (std::vector<meeting::CarResult>{{1, 11, 185'000, 15'000, meeting::CarStatus::Classified},
                                                              {2, 12, 181'500, 14'200, meeting::CarStatus::Classified}}));

  // The standings at once: Carla (car 2) leads.
  window.Prepare(false);
  EXPECT_EQ(window.standingsGrid()->item(0, 1)->text(), "Carla");
  EXPECT_EQ(window.standingsGrid()->item(0, 6)->text(), "10");
  EXPECT_EQ(window.heatsGrid()->item(0, 3)->text(), "26120802");

  // The next Prepare takes heat 2; a start with other cars links nothing.
  ASSERT_TRUE(window.PrepareHeat());
  EXPECT_EQ(shown.description, "Club night · Heat 2/5");
  shown.participates[3] = true;
  Start("26120803");
  EXPECT_FALSE(LinkOf("26120803"));
  EXPECT_TRUE(link.NamesOf(*records::RaceId::Parse("26120803")).empty());
  EXPECT_NE(link.TakeProblem().indexOf("26120803"), -1);

  // Heat 1 run again: the earlier race is unlinked and its result gone.
  window.Prepare(false);
  window.heatsGrid()->selectRow(0);
  ASSERT_TRUE(window.PrepareHeat());
  Start("26120804");
  EXPECT_EQ(LinkOf("26120804")->heat, 1);
  EXPECT_FALSE(LinkOf("26120802"));
  EXPECT_TRUE(store.Results(id)->empty());
  EXPECT_TRUE(dir.Exists("26120802.cls"));
}

TEST_F(MeetingWindowTest, TheHeatSheetResultsAndChampionshipArePrintedAndExportedAsShown) {
  ASSERT_TRUE(window.PrepareHeat());
  Start("26120801");
  Finish("26120801", "1\t2\t12\t03'01\"500\t14,200\r\n2\t1\t11\t03'05\"000\t15,000\r\n");
  window.Prepare(false);

  window.PrintHeatSheet();
  window.PrintResults();
  window.PrintChampionship();
  ASSERT_EQ(printer.reports.size(), 3u);
  EXPECT_EQ(printer.jobsEnded, 3);
  // Cells are padded to their column's width, so the printed columns line up.
  const auto trimmed = [](std::vector<std::string> cells) {
    for (auto& cell : cells) cell.erase(cell.find_last_not_of(' ') + 1);
    return cells;
  };
  const auto& sheet = printer.reports[0];
  EXPECT_EQ(sheet.headings[0].size(), sheet.rows[0][0].size());
  EXPECT_EQ(sheet.title, "Heat sheet");
  EXPECT_EQ(sheet.day, "2026-12-08");
  EXPECT_EQ(sheet.description, "Club night · GT · Rotation, 2 lanes, stints of 3 min");
  // A line per car, the heat's title on its first.
  EXPECT_EQ(trimmed(sheet.headings), (std::vector<std::string>{"Heat", "Car", "Driver"}));
  ASSERT_EQ(sheet.rows.size(), 10u);
  EXPECT_EQ(trimmed(sheet.rows[0]), (std::vector<std::string>{"Heat 1/5", "1", "Ana"}));
  EXPECT_EQ(trimmed(sheet.rows[1]), (std::vector<std::string>{"", "2", "Carla"}));
  // The results print holds what its tab shows.
  const auto& standings = printer.reports[1];
  QTableWidget* grid = window.standingsGrid();
  ASSERT_EQ(static_cast<int>(standings.rows.size()), grid->rowCount());
  for (int r = 0; r < grid->rowCount(); ++r) {
    const auto row = trimmed(standings.rows[static_cast<std::size_t>(r)]);
    for (int c = 0; c < grid->columnCount(); ++c) {
      const auto* item = grid->item(r, c);
      EXPECT_EQ(row[static_cast<std::size_t>(c)], item ? item->text().toStdString() : "");
    }
  }
  EXPECT_EQ(trimmed(printer.reports[1].rows[0])[1], "Carla");
  EXPECT_EQ(printer.reports[2].title, "Championship GT 2026");
  EXPECT_EQ(printer.reports[2].rows.size(), 0u);  // the meeting is not over: no season points yet

  dialogs.answer = QString::fromStdString(dir.File("out"));
  window.ExportMeetingClick();
  ASSERT_FALSE(boxes.shown.empty());
  EXPECT_NE(boxes.shown.back().text.find("Meeting exported: 6 files"), std::string::npos) << boxes.shown.back().text;
  EXPECT_NE(dir.Read("out/meeting-2026-12-08-" + std::to_string(id) + "-heats.csv").find("Heat 1/5,Ana,Carla,26120801"),
            std::string::npos);
}

TEST_F(MeetingWindowTest, TwelveDriversRunQualifyingAndFinalsToPrintedResultsAndTheChampionship) {
  meeting::Meeting m;
  m.date = {2026, 12, 10};
  m.name = "RC night";
  m.className = "Mini-Z";
  m.format = meeting::Format::QualifyingFinals;
  m.qualifying.rounds = 2;
  m.qualifying.groupSize = 6;
  m.qualifying.firstRound = meeting::FirstRoundOrder::Entry;
  m.qualifying.finalSize = 6;
  m.qualifying.bumpUp = 2;
  for (int i = 1; i <= 12; ++i) {
    const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
    m.entrants.push_back(*store.SaveDriver({0, "Driver " + n, "D" + n, {}, "Mini-Z", true}));
  }
  const auto rc = *store.SaveMeeting(m);
  window.Prepare(false);
  window.SelectMeeting(rc);
  // Every heat as the director runs it: Prepare, start, finish. Driver N
  // always does 20 + N laps, so the higher number always wins.
  int races = 0;
  while (window.PrepareHeat()) {
    const std::string race = "261210" + std::string(races < 9 ? "0" : "") + std::to_string(races + 1);
    ++races;
    Start(race);
    std::vector<std::pair<int, int>> laps;  // laps, car
    for (const auto& [car, name] : link.NamesOf(*records::RaceId::Parse(race))) laps.emplace_back(20 + std::stoi(name.substr(1)), car);
    std::sort(laps.rbegin(), laps.rend());
    std::string rows;
    for (std::size_t p = 0; p < laps.size(); ++p) {
      rows += std::to_string(p + 1) + "\t" + std::to_string(laps[p].second) + "\t" + std::to_string(laps[p].first) +
              "\t05'0" + std::to_string(p) + "\"000\t12,000\r\n";
    }
    Finish(race, rows);
    window.Prepare(false);
    ASSERT_LT(races, 20) << "the heats never end";
  }
  // Two rounds of two groups, then finals C, B and A: A keeps four places
  // for the two bumped up from B, and B two for those from C.
  EXPECT_EQ(races, 7);
  window.PrintResults();
  window.PrintChampionship();
  ASSERT_EQ(printer.reports.size(), 2u);
  const auto& results = printer.reports[0].rows;
  ASSERT_EQ(results.size(), 12u);
  for (std::size_t p = 0; p < results.size(); ++p) {
    EXPECT_EQ(results[p][1].substr(0, 9), "Driver " + std::string(p < 3 ? "1" : "0") + std::to_string((12 - p) % 10))
        << "place " << p + 1;
  }
  const auto& season = printer.reports[1];
  EXPECT_EQ(season.title, "Championship Mini-Z 2026");
  ASSERT_EQ(season.rows.size(), 12u);
  EXPECT_EQ(season.rows[0][1].substr(0, 9), "Driver 12");
  EXPECT_EQ(season.rows[0][2].substr(0, 2), "10");
}

TEST_F(MeetingWindowTest, TheRosterGoesOutForSpreadsheetsAndComesBackWhole) {
  ASSERT_TRUE(window.ExportRoster(QString::fromStdString(dir.File("roster.csv"))));
  const std::string csv = dir.Read("roster.csv");
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBFname;short name;number;class;active\r\nAna;Ana;;GT;yes\r\n", 0), 0u) << csv;
  EXPECT_NE(csv.find("\r\n'=Eva;'=Eva;;GT;yes\r\n"), std::string::npos) << csv;

  dir.Write("more.csv", "name;number\nAna;7\nFran;8\n;9\n");
  boxes.answers = {true};
  window.ImportRoster(QString::fromStdString(dir.File("more.csv")));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find("1 added, 1 changed, 0 unchanged, 1 refused"), std::string::npos)
      << boxes.shown[0].text;
  EXPECT_NE(boxes.shown[0].text.find("Row 4: no name"), std::string::npos);
  const auto roster = *store.Drivers();
  ASSERT_EQ(roster.size(), 6u);
  EXPECT_EQ(roster[0].number, 7);
  EXPECT_EQ(window.rosterGrid()->rowCount(), 6);
  // Cancelled: nothing changes.
  dir.Write("none.csv", "name\nGus\n");
  window.ImportRoster(QString::fromStdString(dir.File("none.csv")));
  EXPECT_EQ(store.Drivers()->size(), 6u);
}

}  // namespace
