#pragma once
// What the results page shows between two heats of a meeting: the heat that
// runs next with its line-up, and the standings so far. Worked out whole
// from the stored heats and results when a heat is prepared or a result
// comes in, never on a pass.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "meeting/driver.h"
#include "meeting/heat.h"
#include "meeting/meeting.h"
#include "meeting/standings.h"

namespace meeting {

// The most standings rows a board holds: what a phone's screen can show.
inline constexpr std::size_t kMaxBoardRows = 60;

struct BoardRow {
  Placing placing;
  std::optional<RotationRow> rotation;  // a rotation's laps and time
};

struct Board {
  MeetingId meeting = 0;
  std::string name;
  int heatCount = 0;              // of the outline: for the heat's title
  std::optional<HeatSlot> next;   // none once every heat has a result
  std::vector<Seat> lineup;       // the next heat's, by car; empty until it is lined up
  bool complete = false;
  std::vector<BoardRow> standings;  // by place, at most kMaxBoardRows
  bool truncated = false;           // more drivers than rows
  std::vector<Driver> drivers;      // the roster's entries of everyone named above
};

// The board of a meeting whose heat `prepared` is the next to run; with 0
// (or a heat the meeting has not lined up) the next is the first heat
// without a result.
Board BoardOf(const Meeting& meeting, const std::vector<Driver>& roster, const std::vector<Heat>& heats,
              const std::vector<HeatResult>& results, int prepared);

}  // namespace meeting
