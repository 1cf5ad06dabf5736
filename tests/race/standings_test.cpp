#include "race/standings.h"

#include <gtest/gtest.h>

namespace {

using race::TCarState;

class StandingsTest : public ::testing::Test {
 protected:
  void Participants(std::initializer_list<int> cars) {
    int slot = 1;
    for (int n : cars) {
      coches[n].Participates = true;
      coches[n].State = TCarState::csRacing;
      rs.Standings[slot++] = n;
    }
    rs.Participants = slot - 1;
  }
  void Laps(int car, int laps, std::int64_t raceTime) {
    coches[car].Laps = laps;
    coches[car].StartTime = 1000;
    coches[car].LapStart = 1000 + raceTime;
  }
  std::vector<int> Order() const { return {rs.Standings.begin() + 1, rs.Standings.begin() + 1 + rs.Participants}; }

  race::TCoches coches{};
  race::TRaceState rs{};
};

TEST_F(StandingsTest, MoreLapsFirstThenTheEarlierTime) {
  Participants({1, 2, 3});
  Laps(1, 4, 400);
  Laps(2, 5, 520);
  Laps(3, 5, 510);
  race::SortStandings(rs, coches);
  EXPECT_EQ(Order(), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(race::RunningOrderText(rs, coches), "  3  2  1");
}

TEST_F(StandingsTest, TimesAreMeasuredFromEachCarsOwnStart) {
  Participants({1, 2});
  Laps(1, 5, 500);
  Laps(2, 5, 500);
  coches[2].StartTime = 900;  // started earlier, crossed at the same count
  coches[2].LapStart = 1500;
  race::SortStandings(rs, coches);
  EXPECT_EQ(Order(), (std::vector<int>{1, 2}));
}

TEST_F(StandingsTest, NoLapsRankByStateAndNeverBeforeACarWithLaps) {
  Participants({1, 2, 3});
  coches[1].State = TCarState::csReleased;
  coches[2].State = TCarState::csRacing;  // crossed once under individual timing
  Laps(3, 1, 50);
  coches[3].State = TCarState::csReleased;
  race::SortStandings(rs, coches);
  EXPECT_EQ(Order(), (std::vector<int>{3, 2, 1}));
}

TEST_F(StandingsTest, TiedCarsAreOnlyMovedBySwapsWithOthers) {
  Participants({1, 2, 3});
  Laps(1, 3, 300);
  Laps(2, 3, 300);
  Laps(3, 3, 300);
  race::SortStandings(rs, coches);
  EXPECT_EQ(Order(), (std::vector<int>{1, 2, 3}));
  // The exchange sort follows its comparisons: slot 1 swaps with the better
  // car 3, which sends car 1 to slot 3 behind its tied partner.
  Participants({1, 2, 3});
  Laps(1, 3, 300);
  Laps(2, 3, 300);
  Laps(3, 3, 200);
  race::SortStandings(rs, coches);
  EXPECT_EQ(Order(), (std::vector<int>{3, 2, 1}));
}

TEST_F(StandingsTest, OneCarAndTheFullField) {
  Participants({7});
  race::SortStandings(rs, coches);
  EXPECT_EQ(Order(), std::vector<int>{7});
  EXPECT_EQ(race::RunningOrderText(rs, coches), "  7");

  race::TCoches fresh{};
  coches = fresh;
  Participants({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  for (int n = 1; n <= 10; ++n) Laps(n, n, 100 * n);
  race::SortStandings(rs, coches);
  EXPECT_EQ(race::RunningOrderText(rs, coches), " 10  9  8  7  6  5  4  3  2  1");
  EXPECT_EQ(race::RunningOrderText(rs, coches).size(), 30u);
}

}  // namespace
