#pragma once
// The running order of the participating cars.

#include <string>

#include "race/model.h"

namespace race {

// Whether car a ranks before car b: more laps; or the same laps (more than
// none) and a strictly shorter race time at the last pass; or no laps and a
// higher state.
bool RanksBefore(const TCoche& a, const TCoche& b) noexcept;

// Re-orders Standings[1..participants] in place by the exchange sort: its
// exact order of comparisons decides between tied cars.
void SortStandings(TRaceState& race, const TCoches& coches) noexcept;

// The running-order line: "%3d" per car, "  3 11  1".
std::string RunningOrderText(const TRaceState& race, const TCoches& coches);

}  // namespace race
