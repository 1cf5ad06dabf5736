#pragma once
// Building line-ups: the rotation's heats, qualifying groups and the car
// number each driver gets in a heat.

#include <cstdint>
#include <map>
#include <vector>

#include "meeting/heat.h"
#include "meeting/meeting.h"

namespace meeting {

// The rotation of a meeting: heat × lane → driver, the car number being the
// lane. With D drivers on L lanes there are max(D, L) heats. Every driver
// races once on every lane. With more drivers than lanes each heat is full
// and each driver sits out D - L heats, spread evenly: lane l of heat h
// holds driver (h + floor(l·D/L)) mod D, so a driver's L races lie
// floor(D/L) or ceil(D/L) heats apart and no heat has a gap. With fewer
// drivers than lanes nobody sits out and each heat leaves L - D lanes empty.
std::vector<Heat> RotationHeats(const Meeting& meeting);

// The car numbers of a group, given in grid order (the first is place 1):
// a driver whose own race number is 1..12 and not yet taken by an earlier
// driver of the grid gets it; every other driver then gets their place in
// the grid when that is free, and the lowest free number when it is not.
// A driver given twice is seated once; at most twelve drivers; the seats
// come back by car number.
std::vector<Seat> SeatGrid(const std::vector<DriverId>& grid, const std::map<DriverId, int>& raceNumbers);

// The race numbers of the roster, for SeatGrid.
std::map<DriverId, int> RaceNumbers(const std::vector<Driver>& roster);

// Round 1 drawn at random: the same entrants and seed always give the same
// order, on any machine (splitmix64 and a Fisher–Yates shuffle of our own).
std::vector<DriverId> DrawOrder(const std::vector<DriverId>& entrants, std::uint64_t seed);

// Sizes of the groups that `drivers` make with at most `most` per group,
// as even as can be, the larger groups last.
std::vector<int> GroupSizes(int drivers, int most);

}  // namespace meeting
