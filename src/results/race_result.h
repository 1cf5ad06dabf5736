#pragma once
// The one way a race's result is worked out from its record files: the
// passes as they were pressed or sensed, and the events with the
// corrections among them. The classification file after a correction, the
// files browser, the charts, the exports and the results page all take it
// from here, so no two of them disagree.

#include <optional>
#include <string>
#include <vector>

#include "records/corrections.h"
#include "records/readers.h"

namespace results {

// One crossing of the line by a car, in its race time.
struct Crossing {
  long long atMs = 0;   // from the car's own start (the start button under common timing)
  long long lapMs = 0;  // the lap it ends; 0 for the crossing that starts an individual clock
  int pass = 0;         // its passes line's number; 0 for a crossing a correction added
  bool startsClock = false;
};

struct CarResult {
  int position = 0;
  int car = 0;
  int laps = 0;            // after corrections and lap penalties, never below 0
  long long totalMs = 0;   // race time at its last crossing, with its time penalties
  long long bestLapMs = 0; // 0 when no full lap was timed
  long long penaltyMs = 0;
  int penaltyLaps = 0;
  bool disqualified = false;
  std::vector<Crossing> crossings;  // after corrections, in time order
};

// Why a correction was not taken.
enum class Refusal {
  None,
  NotRacing,        // the car is not in the race
  NoSuchPass,       // no pass of that number for the car
  ClockStart,       // the crossing that starts an individual clock is no lap
  SplitOutside,     // the given time is not inside the lap
  ShorterThanMinimum,
  NegativeLaps,
  AlreadyDisqualified,
  NoSuchCorrection, // an undo of nothing undoable
};

struct Corrected {
  records::Correction correction;
  bool undone = false;
  Refusal refusal = Refusal::None;  // taken when None
};

struct RaceResult {
  std::vector<CarResult> rows;         // in classification order
  std::vector<Corrected> corrections;  // in line order, undos included
  bool corrected = false;              // a correction changed something
};

struct RaceInput {
  const std::vector<records::TPaso>& passes;
  const std::vector<records::TInci>& events;
  // The cars that raced, in the order ties are left in (the classification's).
  std::vector<int> cars;
  bool commonTiming = true;
  long long minLapMs = 0;
};

RaceResult ComputeResult(const RaceInput& input);

// Why the correction, recorded after every line of the input, would not be
// taken; Refusal::None when it would.
Refusal Check(const RaceInput& input, const records::Correction& proposed);
// The refusal in the director's words.
std::string RefusalText(Refusal refusal, bool spanish);

// The passes closing laps longer than 1.6 times the car's median lap: each
// likely hides a missed crossing.
std::vector<int> SuggestedDoubleLaps(const CarResult& car);

// The classification rows as a file holds them ("DSQ" in the total of a
// disqualified car).
std::vector<std::string> ClassificationRows(const RaceResult& result);
std::vector<records::TLClasif> ClassificationRecords(const RaceResult& result);

}  // namespace results
