#include "race/standings.h"

#include <cstdio>
#include <utility>

namespace race {

bool RanksBefore(const TCoche& a, const TCoche& b) noexcept {
  if (a.Laps != b.Laps) return a.Laps > b.Laps;
  if (a.Laps > 0) return (a.LapStart - a.StartTime) < (b.LapStart - b.StartTime);
  return static_cast<int>(a.State) > static_cast<int>(b.State);
}

void SortStandings(TRaceState& race, const TCoches& coches) noexcept {
  const int n = race.Participants;
  if (n < 2) return;
  auto& s = race.Standings;
  for (int i = 1; i <= n - 1; ++i) {
    for (int j = i + 1; j <= n; ++j) {
      if (s[j] == 0 || s[i] == 0) continue;
      if (RanksBefore(coches[s[j]], coches[s[i]])) std::swap(s[i], s[j]);
    }
  }
}

std::string RunningOrderText(const TRaceState& race, const TCoches& coches) {
  std::string text;
  for (int i = 1; i <= kCars; ++i) {
    const int car = race.Standings[i];
    if (car < 1 || car > kCars || !coches[car].Participates) continue;
    char buf[8];
    std::snprintf(buf, sizeof buf, "%3d", car);
    text += buf;
  }
  return text;
}

}  // namespace race
