#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "meeting/board.h"
#include "meeting/heat_setup.h"
#include "meeting/lineup.h"
#include "meeting/schedule.h"
#include "meeting/standings.h"
#include "meeting/texts.h"

namespace {

using meeting::CarResult;
using meeting::CarStatus;
using meeting::DriverId;
using meeting::Heat;
using meeting::HeatResult;
using meeting::Meeting;

Meeting RotationMeeting(int drivers, int lanes) {
  Meeting m;
  m.name = "Club night";
  m.rotation = {lanes, 4};
  for (int i = 1; i <= drivers; ++i) m.entrants.push_back(100 + i);
  return m;
}

// Every driver on every lane exactly once; with more drivers than lanes
// full heats, each driver sitting out D - L of them, never more than
// ceil((D - L) / L) in a row; with fewer, nobody sits out.
void ExpectFairRotation(const Meeting& m, const std::vector<Heat>& heats) {
  const int d = static_cast<int>(m.entrants.size()), lanes = m.rotation.lanes;
  ASSERT_EQ(static_cast<int>(heats.size()), std::max(d, lanes));
  std::map<DriverId, std::set<int>> lanesOf;
  std::map<DriverId, std::vector<bool>> racing;
  for (std::size_t h = 0; h < heats.size(); ++h) {
    EXPECT_EQ(static_cast<int>(heats[h].seats.size()), std::min(d, lanes));
    std::set<DriverId> inHeat;
    for (const auto& s : heats[h].seats) {
      EXPECT_TRUE(inHeat.insert(s.driver).second) << "a driver twice in heat " << h + 1;
      EXPECT_TRUE(lanesOf[s.driver].insert(s.car).second) << "driver " << s.driver << " twice on lane " << s.car;
      racing[s.driver].resize(heats.size());
      racing[s.driver][h] = true;
    }
  }
  const int longestRest = d > lanes ? (d - lanes + lanes - 1) / lanes : 0;
  for (DriverId driver : m.entrants) {
    EXPECT_EQ(static_cast<int>(lanesOf[driver].size()), lanes);
    int run = 0, longest = 0;
    for (bool r : racing[driver]) longest = std::max(longest, run = r ? 0 : run + 1);
    EXPECT_LE(longest, longestRest) << d << " drivers, " << lanes << " lanes, driver " << driver;
  }
}

TEST(Rotation, SevenDriversOnFourLanesMeetEveryLaneWithSitOutsSpread) {
  const Meeting m = RotationMeeting(7, 4);
  const auto heats = meeting::ReadyHeats(m, {}, {}, {});
  ExpectFairRotation(m, heats);
  // The grid, heat by heat, lanes 1..4: each driver sits out 3 heats, never two in a row.
  const std::vector<std::vector<DriverId>> grid = {{101, 102, 104, 106}, {102, 103, 105, 107}, {103, 104, 106, 101},
                                                   {104, 105, 107, 102}, {105, 106, 101, 103}, {106, 107, 102, 104},
                                                   {107, 101, 103, 105}};
  for (std::size_t h = 0; h < heats.size(); ++h) {
    for (int lane = 1; lane <= 4; ++lane) EXPECT_EQ(heats[h].DriverIn(lane), grid[h][static_cast<std::size_t>(lane - 1)]);
  }
  EXPECT_TRUE(meeting::ReadyHeats(m, {}, heats, {}).empty());
  for (int d = 2; d <= 30; ++d) {
    for (int lanes = 2; lanes <= 12; ++lanes) {
      const Meeting any = RotationMeeting(d, lanes);
      ExpectFairRotation(any, meeting::RotationHeats(any));
    }
  }
}

HeatResult Result(const Heat& heat, const std::map<DriverId, CarResult>& byDriver, std::string raceId) {
  HeatResult r{heat.slot.number, std::move(raceId), {}};
  for (const auto& s : heat.seats) {
    if (auto it = byDriver.find(s.driver); it != byDriver.end()) {
      r.cars.push_back(it->second);
      r.cars.back().car = s.car;
    }
  }
  return r;
}

TEST(Rotation, LapsAddUpTiesShareAPlaceAndNonStartersScoreNothing) {
  const Meeting m = RotationMeeting(5, 2);  // 5 heats of 2: every driver twice
  const auto heats = meeting::ReadyHeats(m, {}, {}, {});
  std::vector<HeatResult> results;
  // Per stint: 101 20 laps in 240 s; 102 and 103 19 laps in 241 s (a dead heat);
  // 104 is disqualified in its second stint; 105 never starts (no car in the result).
  const auto stint = [](int laps, int seconds, int bestLap = 0, CarStatus s = CarStatus::Classified) {
    return CarResult{0, laps, seconds * 1000LL, bestLap, s};
  };
  std::map<DriverId, int> stintsSeen;
  for (const auto& heat : heats) {
    std::map<DriverId, CarResult> runs;
    for (const auto& s : heat.seats) {
      const int n = ++stintsSeen[s.driver];
      if (s.driver == 101) runs[101] = stint(20, 240, n == 1 ? 11500 : 11200);
      if (s.driver == 102 || s.driver == 103) runs[s.driver] = stint(19, 241);
      if (s.driver == 104) runs[104] = n == 1 ? stint(25, 240) : stint(25, 240, 0, CarStatus::Disqualified);
    }
    ASSERT_FALSE(meeting::EnterResult(results, Result(heat, runs, "261206" + std::to_string(10 + heat.slot.number))));
  }
  auto rows = meeting::RotationStandings(m, heats, results);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].driver, 101);
  EXPECT_EQ(rows[0].laps, 40);
  EXPECT_EQ(rows[0].timeMs, 480000);
  EXPECT_EQ(rows[0].bestLapMs, 11200);
  EXPECT_EQ(rows[4].driver, 105);
  const auto c = meeting::MeetingClassification(m, heats, results);
  EXPECT_TRUE(c.complete);
  std::vector<std::tuple<DriverId, int, bool, int>> placings;  // driver, place, tied, points
  for (const auto& p : c.placings) placings.emplace_back(p.driver, p.place, p.tied, p.points);
  const decltype(placings) expected = {{101, 1, false, 10}, {102, 2, true, 8}, {103, 2, true, 8}, {104, 4, false, 5},
                                       {105, 5, false, 0}};
  EXPECT_EQ(placings, expected);
  EXPECT_EQ(c.placings[4].status, CarStatus::DidNotStart);

  // A re-run of heat 1 replaces its result and unlinks the earlier race.
  auto rerun = results[0];
  rerun.raceId = "26120630";
  for (auto& car : rerun.cars) car.laps += 3;
  EXPECT_EQ(meeting::EnterResult(results, rerun), std::optional<std::string>("26120611"));
  EXPECT_EQ(meeting::RotationStandings(m, heats, results)[0].laps, 43);
}

TEST(Rotation, BetweenHeatsTheBoardShowsTheNextLineUpAndTheStandingsSoFar) {
  const Meeting m = RotationMeeting(3, 2);  // 3 heats of 2 cars: one driver sits out each
  const auto heats = meeting::RotationHeats(m);
  const std::vector<meeting::Driver> roster = {{101, "Ana Pérez", "Ana", 7, "GT", true},
                                               {102, "Bea Ruiz", "Bea", {}, "GT", true},
                                               {103, "Carla Gil", "Carla", {}, "GT", true},
                                               {104, "Not entered", "No", {}, "GT", true}};
  const DriverId first = *heats[0].DriverIn(1), second = *heats[0].DriverIn(2);
  std::vector<HeatResult> results;
  ASSERT_FALSE(meeting::EnterResult(
      results, Result(heats[0], {{first, {0, 18, 241000, 0, CarStatus::Classified}},
                                 {second, {0, 20, 240500, 11800, CarStatus::Classified}}}, "26120801")));

  // Heat 2 prepared: its cars and drivers, and heat 1's laps and points.
  const auto board = meeting::BoardOf(m, roster, heats, results, 2);
  ASSERT_TRUE(board.next);
  EXPECT_EQ(meeting::HeatTitle(*board.next, board.heatCount, true), "Manga 2/3");
  EXPECT_EQ(board.lineup, heats[1].seats);
  EXPECT_FALSE(board.complete);
  ASSERT_EQ(board.standings.size(), 3u);
  EXPECT_EQ(board.standings[0].placing.driver, second);
  EXPECT_EQ(board.standings[0].placing.points, 10);
  ASSERT_TRUE(board.standings[0].rotation);
  EXPECT_EQ(board.standings[0].rotation->laps, 20);
  EXPECT_EQ(board.standings[0].rotation->timeMs, 240500);
  EXPECT_EQ(board.standings[1].placing.driver, first);
  EXPECT_EQ(board.standings[1].placing.points, 8);
  EXPECT_EQ(board.standings[2].rotation->laps, 0);  // sat heat 1 out
  EXPECT_FALSE(board.standings[2].placing.scored);
  EXPECT_EQ(board.drivers.size(), 3u);  // the entrants, not the whole roster
  // Nothing prepared: the first heat without a result; a heat prepared again is that heat.
  EXPECT_EQ(meeting::BoardOf(m, roster, heats, results, 0).next->number, 2);
  EXPECT_EQ(meeting::BoardOf(m, roster, heats, results, 1).lineup, heats[0].seats);

  // Every heat run: the final standings and no next heat.
  for (int h = 1; h < 3; ++h) {
    const auto& heat = heats[static_cast<std::size_t>(h)];
    std::map<DriverId, CarResult> runs;
    for (const auto& s : heat.seats) runs[s.driver] = {0, 19, 240000, 0, CarStatus::Classified};
    ASSERT_FALSE(meeting::EnterResult(results, Result(heat, runs, "2612080" + std::to_string(h + 1))));
  }
  const auto done = meeting::BoardOf(m, roster, heats, results, 0);
  EXPECT_TRUE(done.complete);
  EXPECT_FALSE(done.next);
  EXPECT_TRUE(done.lineup.empty());
  // A big meeting's board holds what a phone can show.
  const Meeting big = RotationMeeting(80, 4);
  const auto bigBoard = meeting::BoardOf(big, {}, meeting::RotationHeats(big), {}, 0);
  EXPECT_EQ(bigBoard.standings.size(), meeting::kMaxBoardRows);
  EXPECT_TRUE(bigBoard.truncated);
}

TEST(Rotation, PrepareFillsTheSetupPanelAndResultsAreChecked) {
  Meeting m = RotationMeeting(7, 4);
  const auto heats = meeting::RotationHeats(m);
  const std::vector<meeting::Driver> roster = {{101, "Ana Pérez", "Ana", 7, "GT", true}, {102, "Bea Ruiz", "Bea", {}, "GT", true}};
  auto setup = meeting::SetupFor(m, heats[2], 7, false);
  EXPECT_EQ(setup.description, "Club night · Heat 3/7");
  EXPECT_EQ(setup.minutes, 4);
  EXPECT_TRUE(setup.commonTiming);
  EXPECT_EQ(setup.cars, (std::array<bool, 12>{true, true, true, true}));
  m.name = "Noche del club";
  EXPECT_EQ(meeting::SetupFor(m, heats[2], 7, true).description, "Noche del club · Manga 3/7");
  m.name = std::string(60, 'N');
  const auto longName = meeting::SetupFor(m, heats[2], 7, true).description;
  EXPECT_EQ(longName, std::string(37, 'N') + "… · Manga 3/7");
  const auto lineUp = meeting::LineUp(heats[0], meeting::IndexOf(roster));
  ASSERT_EQ(lineUp.size(), 4u);
  EXPECT_EQ(lineUp[0].car, 1);
  EXPECT_EQ(lineUp[0].shortName, "Ana");
  EXPECT_EQ(lineUp[1].name, "Bea Ruiz");
  EXPECT_EQ(lineUp[2].name, "");  // not in the roster given

  using meeting::ResultProblem;
  EXPECT_FALSE(meeting::CheckResult({1, "26120601", {{1, 3, 1000, 300, CarStatus::Classified}}}));
  EXPECT_EQ(meeting::CheckResult({1, "2612061", {}}), ResultProblem::BadRaceId);
  EXPECT_EQ(meeting::CheckResult({1, "26130601", {}}), ResultProblem::BadRaceId);
  EXPECT_EQ(meeting::CheckResult({1, "26120600", {}}), ResultProblem::BadRaceId);
  EXPECT_EQ(meeting::CheckResult({1, "26120601", {{3, 1, 1, 1, CarStatus::Classified}, {3, 1, 1, 1, CarStatus::Classified}}}),
            ResultProblem::BadCar);
  EXPECT_EQ(meeting::CheckResult({1, "26120601", {{13, 1, 1, 1, CarStatus::Classified}}}), ResultProblem::BadCar);
  EXPECT_EQ(meeting::CheckResult({1, "26120601", {{2, -1, 1, 1, CarStatus::Classified}}}), ResultProblem::BadFigures);
}

TEST(Rotation, SettingsOutsideTheirRangesAreRefused) {
  using meeting::MeetingProblem;
  Meeting m = RotationMeeting(6, 4);
  EXPECT_FALSE(meeting::CheckMeeting(m));
  const auto problem = [&](auto change) {
    Meeting bad = m;
    change(bad);
    return meeting::CheckMeeting(bad);
  };
  EXPECT_EQ(problem([](Meeting& b) { b.rotation.lanes = 13; }), MeetingProblem::BadLanes);
  EXPECT_EQ(problem([](Meeting& b) { b.entrants.push_back(101); }), MeetingProblem::DriverTwice);
  EXPECT_EQ(problem([](Meeting& b) { b.points = {10, -1}; }), MeetingProblem::BadPoints);
  m.format = meeting::Format::QualifyingFinals;
  EXPECT_EQ(problem([](Meeting& b) { b.qualifying.rounds = 6; }), MeetingProblem::BadRounds);
  EXPECT_EQ(problem([](Meeting& b) { b.qualifying.finalSize = 11; }), MeetingProblem::BadFinalSize);
  EXPECT_EQ(problem([](Meeting& b) { b.qualifying.bumpUp = 5; }), MeetingProblem::BadBumpUp);
  EXPECT_EQ(meeting::ParseIsoDate("2028-02-29"), (meeting::Date{2028, 2, 29}));
  EXPECT_FALSE(meeting::ParseIsoDate("2026-02-29"));
  EXPECT_EQ(meeting::IsoDate({2026, 12, 6}), "2026-12-06");
}

}  // namespace
