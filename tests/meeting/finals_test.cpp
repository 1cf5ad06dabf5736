#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

#include "meeting/lineup.h"
#include "meeting/qualifying.h"
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
using meeting::Stage;

// A run as the hand calculation writes it: laps @ seconds, or not started,
// or disqualified.
struct Outcome {
  int laps = 0;
  double seconds = 0;
  CarStatus status = CarStatus::Classified;
};
constexpr Outcome kDns{0, 0, CarStatus::DidNotStart};
constexpr Outcome kDsq{20, 300, CarStatus::Disqualified};

// Twenty drivers d1..d20 (ids 1..20, entered in that order), three rounds
// of groups of ten, round 1 in entry order, ranked by best round; finals of
// ten with two bumped up. d5 races with number 7.
//
// Qualifying, best round of each (laps @ s):
//   d7 30, d3 29, d12 28, d1 27, then d15 and d9 both 26 @ 300.5: d15's
//   second best (25) beats d9's (24), so d15 is 5th and d9 6th; d18 25,
//   d5 24, d11 23, d2 22, d14 21, d6 20, d19 19, d10 18, d4 17, d16 16,
//   d8 15, d13 14 (its 20 laps in round 3 were disqualified), d17 13, and
//   d20, who started nothing, last.
// Finals: A seats Q1-Q8 and the first two of B, B seats Q9-Q16 and the
// first two of C, C seats Q17-Q20 and runs first.
//   C: d8 and d17 both 12 @ 300: a dead heat, d8 (Q17) before d17 (Q19);
//      d13 11; d20 did not start. d8 and d17 go up to B.
//   B: d17 20, d19 19 @ 300, d11 19 @ 301, d2 18 @ 300, d14 18 @ 302, d8 17,
//      d6 16, d4 15, d16 did not start, d10 disqualified. d17 and d19 go up.
//   A: d3 25 @ 300.1, d7 25 @ 300.4, d12 and d15 both 24 @ 299 (d12 is Q3,
//      d15 Q5), d19 24 @ 305, d1 23, d9 22 @ 300, d17 22 @ 301, d18 20, d5
//      did not start.
// Classification: A's ten, then B without d17 and d19, then C without d8
// and d17. Points 10-8-6-5-4-3-2-1 to places 1 to 8; d5, d16, d10 and d20
// keep their places but score nothing.
const std::map<DriverId, std::vector<Outcome>> kRounds = {
    {7, {{30, 300.0}, {28, 301.0}, kDsq}},       {3, {{27, 302.0}, {28, 301.5}, {29, 300.2}}},
    {12, {{26, 303.0}, {28, 299.0}, {27, 300}}},  {1, {{25, 301}, {26, 302}, {27, 300.9}}},
    {15, {{24, 301}, {26, 300.5}, {25, 301}}},    {9, {{26, 300.5}, {24, 300}, {23, 299}}},
    {18, {{23, 302}, {24, 301}, {25, 299.5}}},    {5, {{22, 300}, {24, 302}, {23, 301}}},
    {11, {{21, 300}, {22, 300}, {23, 300}}},      {2, {{22, 301}, {21, 301}, {20, 301}}},
    {14, {{19, 300}, {21, 300}, {20, 300}}},      {6, {{20, 302}, {19, 302}, kDns}},
    {19, {{17, 300}, {18, 300}, {19, 300}}},      {10, {{18, 305}, {17, 305}, {16, 305}}},
    {4, {{15, 300}, {16, 300}, {17, 300}}},       {16, {{16, 300}, {15, 300}, {14, 300}}},
    {8, {{13, 300}, {14, 300}, {15, 300}}},       {13, {{14, 300}, {13, 300}, kDsq}},
    {17, {{12, 300}, {13, 300}, {11, 300}}},      {20, {kDns, kDns, kDns}},
};
const std::map<std::string, std::map<DriverId, Outcome>> kFinals = {
    {"C", {{8, {12, 300}}, {17, {12, 300}}, {13, {11, 300}}, {20, kDns}}},
    {"B",
     {{17, {20, 300}}, {19, {19, 300}}, {11, {19, 301}}, {2, {18, 300}}, {14, {18, 302}}, {8, {17, 300}}, {6, {16, 300}},
      {4, {15, 300}}, {16, kDns}, {10, kDsq}}},
    {"A",
     {{3, {25, 300.1}}, {7, {25, 300.4}}, {12, {24, 299}}, {15, {24, 299}}, {19, {24, 305}}, {1, {23, 300}}, {9, {22, 300}},
      {17, {22, 301}}, {18, {20, 300}}, {5, kDns}}},
};
const std::vector<DriverId> kQualifyingOrder = {7, 3, 12, 1, 15, 9, 18, 5, 11, 2, 14, 6, 19, 10, 4, 16, 8, 13, 17, 20};
const std::vector<DriverId> kClassification = {3, 7, 12, 15, 19, 1, 9, 17, 18, 5, 11, 2, 14, 8, 6, 4, 16, 10, 13, 20};
const std::vector<int> kPoints = {10, 8, 6, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

HeatResult ResultOf(const Heat& heat, const std::map<DriverId, Outcome>& runs, int race) {
  HeatResult r{heat.slot.number, "261206" + std::string(race < 10 ? "0" : "") + std::to_string(race), {}};
  for (const auto& s : heat.seats) {
    const Outcome run = runs.at(s.driver);
    if (run.status == CarStatus::DidNotStart) continue;  // a car the race never saw
    r.cars.push_back({s.car, run.laps, static_cast<std::int64_t>(run.seconds * 1000 + 0.5), 0, run.status});
  }
  return r;
}

struct Evening {
  Meeting meeting;
  std::vector<meeting::Driver> roster;
  std::vector<Heat> heats;
  std::vector<HeatResult> results;
};

// Lines up whatever is ready and runs it, until the meeting is over.
Evening RunTheEvening(const Meeting& m, const std::vector<meeting::Driver>& roster) {
  Evening e{m, roster, {}, {}};
  for (auto ready = meeting::ReadyHeats(m, roster, {}, {}); !ready.empty(); ready = meeting::ReadyHeats(m, roster, e.heats, e.results)) {
    for (auto& heat : ready) {
      std::map<DriverId, Outcome> runs;
      for (const auto& s : heat.seats) {
        runs[s.driver] = heat.slot.stage == Stage::Qualifying
                             ? kRounds.at(s.driver)[static_cast<std::size_t>(heat.slot.round - 1)]
                             : kFinals.at(meeting::FinalName(heat.slot.group)).at(s.driver);
      }
      e.results.push_back(ResultOf(heat, runs, heat.slot.number));
      e.heats.push_back(std::move(heat));
    }
  }
  return e;
}

Meeting TwentyDrivers() {
  Meeting m;
  m.name = "Club night";
  m.format = meeting::Format::QualifyingFinals;
  m.qualifying.rounds = 3;
  m.qualifying.groupSize = 10;
  m.qualifying.firstRound = meeting::FirstRoundOrder::Entry;
  m.qualifying.finalSize = 10;
  m.qualifying.bumpUp = 2;
  for (DriverId d = 1; d <= 20; ++d) m.entrants.push_back(d);
  return m;
}

TEST(QualifyingAndFinals, TwentyDriversEndWhereTheHandCalculationPutsThem) {
  std::vector<meeting::Driver> roster;
  for (DriverId d = 1; d <= 20; ++d) roster.push_back({d, "d" + std::to_string(d), "d" + std::to_string(d), {}, "TT", true});
  roster[4].number = 7;
  const Meeting m = TwentyDrivers();
  ASSERT_FALSE(meeting::CheckMeeting(m));
  const Evening e = RunTheEvening(m, roster);

  ASSERT_EQ(e.heats.size(), 9u);  // 3 rounds of 2 groups, finals C, B, A
  EXPECT_EQ(meeting::FinalName(e.heats[6].slot.group), "C");
  EXPECT_EQ(meeting::FinalName(e.heats[8].slot.group), "A");
  // Round 2's last group holds round 1's best ten, seated by that order; d5
  // takes car 7 as its own number, so d18, 7th, gets the first free one.
  const std::vector<std::pair<int, DriverId>> round2Best = {{1, 7}, {2, 3}, {3, 9}, {4, 12}, {5, 1}, {6, 15}, {7, 5}, {8, 18}, {9, 2}, {10, 11}};
  std::vector<std::pair<int, DriverId>> seats;
  for (const auto& s : e.heats[3].seats) seats.emplace_back(s.car, s.driver);
  EXPECT_EQ(seats, round2Best);
  EXPECT_EQ(e.heats[3].slot.round, 2);
  EXPECT_EQ(e.heats[3].slot.group, 2);
  EXPECT_EQ(meeting::HeatTitle(e.heats[3].slot, 9, true), "Manga 4/9 · Ronda 2, grupo 2");
  EXPECT_EQ(meeting::HeatTitle(e.heats[8].slot, 9, false), "Heat 9/9 · Final A");
  // Final A: Q1..Q8 and the first two of B in cars 9 and 10.
  EXPECT_EQ(e.heats[8].DriverIn(9), 17);
  EXPECT_EQ(e.heats[8].DriverIn(10), 19);

  std::vector<DriverId> qualifying;
  for (const auto& row : meeting::QualifyingStandings(m, e.heats, e.results)) qualifying.push_back(row.driver);
  EXPECT_EQ(qualifying, kQualifyingOrder);

  const auto c = meeting::MeetingClassification(m, e.heats, e.results);
  EXPECT_TRUE(c.complete);
  std::vector<DriverId> order;
  std::vector<int> points;
  for (const auto& p : c.placings) order.push_back(p.driver), points.push_back(p.points);
  EXPECT_EQ(order, kClassification);
  EXPECT_EQ(points, kPoints);
  EXPECT_EQ(c.placings[9].status, CarStatus::DidNotStart);   // d5, last of A
  EXPECT_EQ(c.placings[17].status, CarStatus::Disqualified);  // d10, last of B
  EXPECT_EQ(c.placings[10].final, 2);
}

TEST(QualifyingAndFinals, LinesUpOnlyWhatTheResultsSoFarDecide) {
  const Meeting m = TwentyDrivers();
  auto heats = meeting::ReadyHeats(m, {}, {}, {});
  ASSERT_EQ(heats.size(), 2u);  // round 1 at once
  EXPECT_TRUE(meeting::ReadyHeats(m, {}, heats, {}).empty());
  const auto outline = meeting::Outline(m);
  EXPECT_EQ(outline.size(), 9u);
  EXPECT_EQ(outline[8].cars, 10);
  EXPECT_EQ(outline[6].cars, 4);
  // Before any final the classification is provisional, in qualifying order.
  const auto c = meeting::MeetingClassification(m, heats, {});
  EXPECT_FALSE(c.complete);
  EXPECT_EQ(c.placings.size(), 20u);
  // Settings changed under stored heats: nothing more is lined up.
  Meeting changed = m;
  changed.qualifying.groupSize = 8;
  EXPECT_TRUE(meeting::ReadyHeats(changed, {}, heats, {}).empty());

  // A random first round: the same seed draws the same groups.
  Meeting drawn = m;
  drawn.qualifying.firstRound = meeting::FirstRoundOrder::Random;
  drawn.qualifying.seed = 2026;
  const auto once = meeting::ReadyHeats(drawn, {}, {}, {});
  EXPECT_EQ(once, meeting::ReadyHeats(drawn, {}, {}, {}));
  EXPECT_NE(once, heats);
  drawn.qualifying.seed = 2027;
  EXPECT_NE(once, meeting::ReadyHeats(drawn, {}, {}, {}));
  auto order = meeting::DrawOrder(m.entrants, 7);
  std::sort(order.begin(), order.end());
  EXPECT_EQ(order, m.entrants);
}

TEST(QualifyingAndFinals, RoundPointsRankTheSumOfEachRoundsPlaces) {
  // Four drivers, two rounds in one group. Round points: 4 for a round's
  // best, 3, 2, 1; none for a run not started.
  //   r1: A 10 @ 300, C 10 @ 301, B 9, D 7   -> A 4, C 3, B 2, D 1
  //   r2: A did not start, C 10, B 9, D 8     -> C 4, B 3, D 2 (C's 10 @ 302)
  // Sums: C 7, B 5, A 4, D 3. By best round it would be A, C, B, D.
  Meeting m;
  m.name = "Points";
  m.format = meeting::Format::QualifyingFinals;
  m.entrants = {1, 2, 3, 4};
  m.qualifying = {2, 5, 4, meeting::FirstRoundOrder::Entry, 1, meeting::QualifyingRanking::RoundPoints, true, 4, 0, 5};
  const std::map<DriverId, std::vector<Outcome>> rounds = {
      {1, {{10, 300}, kDns}}, {2, {{9, 300}, {9, 300}}}, {3, {{10, 301}, {10, 302}}}, {4, {{7, 300}, {8, 300}}}};
  std::vector<Heat> heats;
  std::vector<HeatResult> results;
  for (int round = 1; round <= 2; ++round) {
    auto ready = meeting::ReadyHeats(m, {}, heats, results);
    ASSERT_EQ(ready.size(), 1u);
    EXPECT_FALSE(ready[0].slot.commonTiming);  // qualifying may run on individual timing
    std::map<DriverId, Outcome> runs;
    for (const auto& s : ready[0].seats) runs[s.driver] = rounds.at(s.driver)[static_cast<std::size_t>(round - 1)];
    results.push_back(ResultOf(ready[0], runs, round));
    heats.push_back(ready[0]);
  }
  std::vector<std::pair<DriverId, int>> table;
  for (const auto& row : meeting::QualifyingStandings(m, heats, results)) table.emplace_back(row.driver, row.points);
  EXPECT_EQ(table, (std::vector<std::pair<DriverId, int>>{{3, 7}, {2, 5}, {1, 4}, {4, 3}}));
  m.qualifying.ranking = meeting::QualifyingRanking::BestRound;
  EXPECT_EQ(meeting::QualifyingStandings(m, heats, results)[0].driver, 1);
}

TEST(QualifyingAndFinals, CarNumbersAreOwnNumbersThenPlaces) {
  // Grid a, b, c, d, e: b owns 1, d owns 1 too (b came first), e owns 3.
  const std::map<DriverId, int> numbers = {{2, 1}, {4, 1}, {5, 3}, {6, 40}};
  std::vector<std::pair<int, DriverId>> seats;
  for (const auto& s : meeting::SeatGrid({1, 2, 3, 4, 5, 6, 2}, numbers)) seats.emplace_back(s.car, s.driver);
  EXPECT_EQ(seats, (std::vector<std::pair<int, DriverId>>{{1, 2}, {2, 1}, {3, 5}, {4, 4}, {5, 3}, {6, 6}}));
  EXPECT_EQ(meeting::GroupSizes(21, 10), (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(meeting::GroupSizes(23, 10), (std::vector<int>{7, 8, 8}));
  EXPECT_EQ(meeting::ShapeOfFinals(20, 10, 2).direct, (std::vector<int>{8, 8, 4}));
  EXPECT_EQ(meeting::ShapeOfFinals(10, 10, 2).direct, (std::vector<int>{10}));
  EXPECT_EQ(meeting::FinalName(28), "AB");
}

}  // namespace
