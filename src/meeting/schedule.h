#pragma once
// The running order of a meeting and the line-ups that can be fixed next.
//
// The store keeps the heats it is given, line-ups included, and never
// changes a stored line-up: a later round is seeded from the results of
// the earlier ones, so a re-run of an earlier heat changes the standings
// but not a line-up already fixed. Settings that shape the heats (format,
// entrants, lanes, rounds, groups, finals) cannot change once a heat is
// stored; ReadyHeats lines up nothing when the stored heats no longer fit.

#include <vector>

#include "meeting/heat.h"
#include "meeting/meeting.h"

namespace meeting {

// Every heat the meeting will run, in order: the rotation; or each
// qualifying round's groups (the best seeds in the last group), then the
// finals from the lowest to A.
std::vector<HeatSlot> Outline(const Meeting& meeting);

// The heats that follow `heats` and can be lined up now: the whole
// rotation; round 1 at once, a later round once every heat of the one
// before has a result; the lowest final once qualifying is complete, and
// each final above it once the one below has a result (at once when
// nothing is bumped up). Empty when the next heat must wait.
std::vector<Heat> ReadyHeats(const Meeting& meeting, const std::vector<Driver>& roster, const std::vector<Heat>& heats,
                             const std::vector<HeatResult>& results);

// Every heat of the outline is lined up and has a result.
bool MeetingComplete(const Meeting& meeting, const std::vector<Heat>& heats, const std::vector<HeatResult>& results);

}  // namespace meeting
