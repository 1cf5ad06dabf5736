#pragma once
// A race's laps as the charts and the results page show them: each car's
// timed laps with its fastest, and each car's position on every lap.

#include <optional>
#include <string>
#include <vector>

#include "records/readers.h"
#include "results/race_result.h"

namespace results {

struct Lap {
  int lap = 0;
  double seconds = 0.0;  // the lap's time
  double elapsed = 0.0;  // the car's race time when it completed the lap
  int pass = 0;          // its passes line; 0 for a crossing a correction added
};

struct CarLaps {
  int car = 0;
  std::vector<Lap> laps;               // the laps the lap-times chart draws
  std::optional<Lap> partialFirst;     // common timing: the run from the start to the first crossing
  std::optional<std::size_t> fastest;  // index into laps
};

// One entry per car of `cars`, in that order. Passes are taken in pass
// order whatever order the list is in. Under common timing lap 1 starts at
// the start button, not at the line, so it is kept apart; under individual
// timing the lap-0 pass only starts the car's clock.
// These are the laps as pressed or sensed, before any correction.
std::vector<CarLaps> LapsOf(const std::vector<records::TPaso>& passes, const std::vector<int>& cars, bool commonTiming);
// The laps after the result's corrections: a split lap counts as two, a
// removed pass's lap is merged into the next. Every view of a race draws
// these (see LapsOf(const RaceSheet&)).
std::vector<CarLaps> LapsAfter(const RaceResult& result, const std::vector<int>& cars, bool commonTiming);

struct CarPositions {
  int car = 0;
  std::vector<std::pair<int, int>> points;  // (lap, position on completing it)
};

// The lap chart: on each lap, the cars in the order they completed it (the
// shorter race time first, as the running order ranks them), so that every
// overtake shows as two lines crossing. One entry per car of `cars`.
std::vector<CarPositions> PositionsByLap(const std::vector<CarLaps>& laps);

// The colour of a car everywhere: "#rrggbb", car 1..12.
std::string CarColour(int car);

}  // namespace results
