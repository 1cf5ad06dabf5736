#pragma once
// Qualifying and finals (RC): the qualifying order from the rounds run so
// far, the shape of the finals and who is in each.
//
// Qualifying order. By best round: each driver's classified runs, best
// first, are compared one by one (laps, then time), so an exact tie on the
// best round is broken by the second best, and so on; a run beats no run.
// By round points: in each round every classified run is ranked against the
// whole field (a tie shares the place) and place p of n entrants scores
// n + 1 - p; the sums rank, ties broken as by best round. A driver still
// tied after that, or with no classified run, goes by entry order. Runs
// not started or disqualified count as no run.
//
// Finals. Final A is for the best qualifiers, then B, C ... Every final but
// the lowest seats finalSize - bumpUp direct qualifiers and then the first
// bumpUp classified drivers of the final below it, which runs first; the
// lowest final takes the rest, at most finalSize. A final's order: its
// runs as CompareRuns ranks them, an exact tie (and drivers who did not
// start, and those disqualified) by qualifying order.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "meeting/heat.h"
#include "meeting/meeting.h"

namespace meeting {

struct RoundRun {
  int round = 0;
  CarResult run;
  int points = 0;  // round points, under that ranking
};

struct QualifyingRow {
  DriverId driver = 0;
  int place = 0;                  // 1.., no shared places
  std::optional<CarResult> best;  // the best classified run
  int points = 0;                 // summed round points, under that ranking
  std::vector<RoundRun> runs;     // in round order
};

// Every entrant, from the qualifying heats that have a result.
std::vector<QualifyingRow> QualifyingStandings(const Meeting& meeting, const std::vector<Heat>& heats,
                                               const std::vector<HeatResult>& results);

struct FinalsShape {
  std::vector<int> direct;  // direct qualifiers of final 1 (A), 2 (B) ...
  int Count() const noexcept { return static_cast<int>(direct.size()); }
};
FinalsShape ShapeOfFinals(int drivers, int finalSize, int bumpUp);

// "A" .. "Z", then "AA", "AB" ...
std::string FinalName(int final);

// The direct qualifiers of a final (1 = A), in qualifying order.
std::vector<DriverId> DirectQualifiers(const FinalsShape& shape, int final, const std::vector<DriverId>& qualifyingOrder);

// The drivers of a run heat in their order (see above); without a result,
// in qualifying order.
std::vector<DriverRun> FinalOrder(const Heat& heat, const HeatResult* result,
                                  const std::map<DriverId, int>& qualifyingPlace);

}  // namespace meeting
