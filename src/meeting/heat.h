#pragma once
// A heat of a meeting: its place in the running order, its line-up (car
// number to driver) and the result of the race that ran it.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "meeting/driver.h"

namespace meeting {

enum class Stage { Rotation, Qualifying, Final };

// What the settings alone say of a heat, before anyone is in it.
struct HeatSlot {
  int number = 0;     // 1.. in running order; the heat's key within its meeting
  Stage stage = Stage::Rotation;
  int round = 0;      // qualifying: the round 1..R; rotation: the heat's number; final: 0
  int group = 0;      // qualifying: the group 1.. of its round; final: 1 for A, 2 for B ...
  int minutes = 0;
  int cars = 0;       // drivers in it; a final that takes bump-ups: the most it can hold
  bool commonTiming = true;
  bool operator==(const HeatSlot&) const = default;
};

struct Seat {
  int car = 0;  // 1..12: the F-key and the gate lane
  DriverId driver = 0;
  bool operator==(const Seat&) const = default;
};

// A heat lined up: once stored, its line-up never changes.
struct Heat {
  HeatSlot slot;
  std::vector<Seat> seats;  // by car number; a driver in exactly one
  std::optional<DriverId> DriverIn(int car) const noexcept;
  std::optional<int> CarOf(DriverId driver) const noexcept;
  bool operator==(const Heat&) const = default;
};

enum class CarStatus { Classified, DidNotStart, Disqualified };

struct CarResult {
  int car = 0;
  int laps = 0;
  std::int64_t timeMs = 0;     // race time at the car's last counted pass
  std::int64_t bestLapMs = 0;  // 0: none
  CarStatus status = CarStatus::Classified;
  bool operator==(const CarResult&) const = default;
};

// The result of the one race that ran a heat, as its result function gives it.
struct HeatResult {
  int heat = 0;            // HeatSlot::number
  std::string raceId;      // "YYMMDDnn"
  std::vector<CarResult> cars;
  bool operator==(const HeatResult&) const = default;
};

// "YYMMDDnn": a real month and day, a race 01..99.
bool IsRaceId(std::string_view text) noexcept;

enum class ResultProblem {
  BadRaceId,
  BadCar,      // a car outside 1..12, or twice
  BadFigures,  // negative laps or times
};
// A car of the result that is in no seat is left out of every standing; a
// seat the result does not name counts as not started.
std::optional<ResultProblem> CheckResult(const HeatResult& result);

// Enters a heat's result; a re-run replaces the earlier one. Gives the race
// id the earlier result came from, now unlinked.
std::optional<std::string> EnterResult(std::vector<HeatResult>& results, HeatResult result);
const HeatResult* ResultOf(const std::vector<HeatResult>& results, int heat) noexcept;

// A car's run compared with another's: classified cars by more laps, then
// less time; then those that did not start; disqualified cars last.
// Negative when a ranks before b, 0 when they cannot be told apart.
int CompareRuns(const CarResult& a, const CarResult& b) noexcept;

// Each seated driver's run in the heat (not started when the result lacks
// the car), in seat order.
struct DriverRun {
  DriverId driver = 0;
  CarResult run;
};
std::vector<DriverRun> RunsOf(const Heat& heat, const HeatResult& result);

}  // namespace meeting
