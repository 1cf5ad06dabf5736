// A meeting on paper: the heat sheet, the results and the championship,
// as the window shows, the printer prints and the export writes them.
#include <gtest/gtest.h>

#include "meeting/lineup.h"
#include "meeting/sheets.h"

namespace {

using meeting::CarResult;
using results::ShownText;

std::vector<std::string> Texts(const std::vector<results::Cell>& row) {
  std::vector<std::string> out;
  for (const auto& cell : row) out.push_back(ShownText(cell, true));
  return out;
}

TEST(MeetingSheets, TheHeatSheetAndResultsNameTheDriversTheLineUpsAndResultsHold) {
  meeting::MeetingBook book;
  book.meeting.name = "Noche del club";
  book.meeting.className = "GT";
  book.meeting.rotation = {2, 3};
  book.meeting.entrants = {1, 2, 3};
  book.roster = {{1, "Ana López", "Ana", {}, "GT", true},
                 {2, "Bea Ruiz", "Bea", {}, "GT", true},
                 {3, "Carla Gil", "Carla", {}, "GT", true}};
  // Heats 1 and 2 are lined up and run; heat 3 is not lined up yet.
  const auto heats = meeting::RotationHeats(book.meeting);
  ASSERT_EQ(heats.size(), 3u);
  for (int h = 0; h < 2; ++h) book.heats.push_back({heats[static_cast<std::size_t>(h)], "2612090" + std::to_string(h + 1)});
  // Heat 1: Ana on car 1, Bea on car 2; heat 2: Bea on car 1, Carla on car 2.
  book.results = {{1, "26120901", {CarResult{1, 10, 185000, 17500}, CarResult{2, 9, 181000, 0}}},
                  {2, "26120902", {CarResult{1, 11, 190000, 16800}, CarResult{2, 8, 181000, 0}}}};

  const auto sheet = meeting::HeatSheet(book, true);
  std::vector<std::string> keys;
  for (const auto& c : sheet.columns) keys.push_back(c.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"heat", "car1", "car2", "race", "result"}));
  const auto shortName = [&](int heat, int car) { return book.roster[*heats[heat].DriverIn(car) - 1].shortName; };
  ASSERT_EQ(sheet.rows.size(), 3u);
  EXPECT_EQ(Texts(sheet.rows[0]), (std::vector<std::string>{"Manga 1/3", shortName(0, 1), shortName(0, 2), "26120901", "✓"}));
  EXPECT_EQ(Texts(sheet.rows[2]), (std::vector<std::string>{"Manga 3/3", "(por alinear)", "", "", ""}));

  // Bea's two stints add up to 20 laps; Ana and Carla have run one each.
  const auto standings = meeting::MeetingResults(book, true);
  ASSERT_EQ(standings.rows.size(), 3u);
  EXPECT_EQ(Texts(standings.rows[0]), (std::vector<std::string>{"1", "Bea Ruiz", "20", "06'11\"000", "16,800", "2", "10"}));
  EXPECT_EQ(Texts(standings.rows[1]), (std::vector<std::string>{"2", "Ana López", "10", "03'05\"000", "17,500", "1", "8"}));
  EXPECT_EQ(Texts(standings.rows[2]), (std::vector<std::string>{"3", "Carla Gil", "8", "03'01\"000", "", "1", "6"}));
  EXPECT_EQ(ShownText(standings.rows[1][4], false), "17.500");
}

TEST(MeetingSheets, TheChampionshipShowsEachMeetingsPointsAndBracketsTheDroppedOnes) {
  const auto sheet = [](std::vector<std::pair<meeting::DriverId, int>> places) {
    meeting::Classification c;
    c.complete = true;
    for (const auto& [driver, place] : places) {
      c.placings.push_back({driver, place, false, meeting::CarStatus::Classified, true,
                            meeting::PointsFor(meeting::DefaultPoints(), place), 0});
    }
    return c;
  };
  std::vector<meeting::Meeting> meetings(2);
  meetings[0].id = 11;
  meetings[0].date = {2026, 3, 7};
  meetings[1].id = 12;
  meetings[1].date = {2026, 5, 2};
  const auto season = meeting::Season({{11, meetings[0].date, "GT", sheet({{1, 1}, {2, 2}})},
                                       {12, meetings[1].date, "GT", sheet({{2, 1}, {1, 2}})}},
                                      "GT", 2026, 1);
  const std::vector<meeting::Driver> roster = {{1, "Ana López", "Ana", {}, "GT", true},
                                               {2, "Bea Ruiz", "Bea", {}, "GT", true}};
  const auto table = meeting::Championship(season, meetings, roster, false);
  ASSERT_EQ(table.columns.size(), 5u);
  EXPECT_EQ(table.columns[3].label, "03-07");
  EXPECT_EQ(table.columns[4].key, "2026-05-02");
  ASSERT_EQ(table.rows.size(), 2u);
  // Best one of two: each keeps a win and drops a second place.
  EXPECT_EQ(Texts(table.rows[0]), (std::vector<std::string>{"1=", "Ana López", "10", "10", "(8)"}));
  EXPECT_EQ(Texts(table.rows[1]), (std::vector<std::string>{"1=", "Bea Ruiz", "10", "(8)", "10"}));
  EXPECT_EQ(meeting::ChampionshipTitle("GT", 2026, false), "Championship GT 2026");
}

}  // namespace
