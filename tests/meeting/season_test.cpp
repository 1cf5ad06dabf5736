#include "meeting/season.h"

#include <gtest/gtest.h>

namespace {

using meeting::CarStatus;
using meeting::Classification;
using meeting::SeasonMeeting;

// Placings as a results sheet gives them: driver, place, points; a driver
// with points -1 did not start.
Classification Sheet(std::vector<std::tuple<meeting::DriverId, int, int>> rows, bool complete = true) {
  Classification c;
  c.complete = complete;
  for (const auto& [driver, place, points] : rows) {
    const bool scored = points >= 0;
    c.placings.push_back({driver, place, false, scored ? CarStatus::Classified : CarStatus::DidNotStart, scored,
                          scored ? points : 0, 0});
  }
  return c;
}

TEST(Season, BestThreeOfFourWithCountbackAndSharedPlaces) {
  // GT 2026, four meetings (points 10-8-6-5-4):
  //        M1 (Mar)  M2 (May)   M3 (Jul)  M4 (Sep)        best 3
  //   d1   1st 10    2nd 8      3rd 6     1st 10          28 (drops M3)
  //   d2   3rd 6     1st 10     2nd 8     2nd= 8          26 (drops M1)
  //   d3   2nd 8     no start   1st 10    2nd= 8          26
  //   d4   4th 5     3rd 6      4th 5     4th 5           16 (drops M4)
  //   d6             5th= 4                               4
  //   d7             5th= 4                               4
  // d2 and d3 tie on 26: countback over all four meetings, the dropped
  // one included: one win each, two seconds each, d2 has a third. d6 and
  // d7 cannot be told apart and share 5th. The meetings of another class,
  // another year, and one not finished, all won by d4, count for nothing.
  const std::vector<SeasonMeeting> meetings = {
      {14, {2026, 9, 5}, "GT", Sheet({{1, 1, 10}, {2, 2, 8}, {3, 2, 8}, {4, 4, 5}})},
      {11, {2026, 3, 7}, "GT", Sheet({{1, 1, 10}, {3, 2, 8}, {2, 3, 6}, {4, 4, 5}})},
      {12, {2026, 5, 2}, "gt", Sheet({{2, 1, 10}, {1, 2, 8}, {4, 3, 6}, {3, 4, -1}, {6, 5, 4}, {7, 5, 4}})},
      {13, {2026, 7, 4}, "GT", Sheet({{3, 1, 10}, {2, 2, 8}, {1, 3, 6}, {4, 4, 5}})},
      {20, {2026, 6, 1}, "Mini-Z", Sheet({{4, 1, 10}})},
      {21, {2025, 6, 1}, "GT", Sheet({{4, 1, 10}})},
      {22, {2026, 10, 1}, "GT", Sheet({{4, 1, 10}}, false)},
  };
  const auto table = meeting::Season(meetings, "GT", 2026, 3);
  EXPECT_EQ(table.meetings, (std::vector<meeting::MeetingId>{11, 12, 13, 14}));
  std::vector<std::tuple<meeting::DriverId, int, int, bool>> rows;  // driver, place, points, tied
  for (const auto& r : table.rows) rows.emplace_back(r.driver, r.place, r.points, r.tied);
  const decltype(rows) expected = {{1, 1, 28, false}, {2, 2, 26, false}, {3, 3, 26, false},
                                   {4, 4, 16, false}, {6, 5, 4, true},   {7, 5, 4, true}};
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(table.rows[0].allPoints, 34);
  EXPECT_EQ(table.rows[0].dropped, (std::vector<bool>{false, false, true, false}));
  EXPECT_EQ(table.rows[2].meetingPoints[1], std::nullopt);  // d3 did not start in M2
  EXPECT_EQ(table.rows[3].dropped, (std::vector<bool>{false, false, false, true}));

  // Every meeting counted: d2's 32 now beats d3's 26.
  const auto all = meeting::Season(meetings, "GT", 2026, 0);
  EXPECT_EQ(all.rows[1].driver, 2);
  EXPECT_EQ(all.rows[1].points, 32);
}

}  // namespace
