#pragma once
// A meeting's standings, pure functions of its heats and the results
// entered: recomputed whole whenever a result comes in.
//
// Rotation: each driver's laps over all stints, then the lower total time;
// a stint not started or disqualified adds nothing. Drivers with exactly
// the same laps and time share a place, and so do the drivers with no
// classified stint, who come last.
//
// Qualifying and finals: final A's order, then B's without the drivers
// bumped up into A, and so on (see qualifying.h for the order within a
// final). Until a final is lined up its direct qualifiers stand in for
// it in qualifying order; the classification is complete, and counts for
// the season, once every heat has a result.
//
// Points: the place's points in the meeting's table, shared places each
// scoring the place's points. A driver who did not start or was
// disqualified in the final that places them, or who has no classified
// stint of a rotation, keeps a place but scores nothing.

#include <cstdint>
#include <vector>

#include "meeting/heat.h"
#include "meeting/meeting.h"

namespace meeting {

struct RotationRow {
  DriverId driver = 0;
  int place = 0;
  bool tied = false;  // shares the place with another driver
  int laps = 0;
  std::int64_t timeMs = 0;
  std::int64_t bestLapMs = 0;  // 0: none
  int stints = 0;              // classified stints
};

std::vector<RotationRow> RotationStandings(const Meeting& meeting, const std::vector<Heat>& heats,
                                           const std::vector<HeatResult>& results);

struct Placing {
  DriverId driver = 0;
  int place = 0;
  bool tied = false;
  CarStatus status = CarStatus::Classified;  // in the heat that places the driver
  bool scored = false;
  int points = 0;
  int final = 0;  // qualifying and finals: the final that places the driver, 1 for A; else 0
};

struct Classification {
  bool complete = false;
  std::vector<Placing> placings;  // every entrant, by place
};

Classification MeetingClassification(const Meeting& meeting, const std::vector<Heat>& heats,
                                     const std::vector<HeatResult>& results);

}  // namespace meeting
