#pragma once
// The in-memory state of the one race the main window controls.

#include <array>
#include <cstdint>

#include "records/cars.h"

namespace race {

using records::kCars;
using records::IsCar;

enum class TCarState : std::uint8_t {
  csStopped = 0,   // no race running
  csReleased = 1,  // individual timing: waits for the car's first pass
  csRacing = 2,
  csTimeUp = 3,    // individual timing: the car's own time is over
  csFinished = 4,  // passes and events of the car are ignored
};

struct TCoche {
  bool Participates = false;
  bool BestLapSet = false;
  bool FirstPassSeen = false;
  TCarState State = TCarState::csStopped;
  std::int32_t Laps = 0;
  std::int64_t LapStart = 0;   // count of the last accepted pass
  std::int64_t BestLap = 0;    // ticks
  std::int64_t StartTime = 0;  // where the car's race time begins
  std::int64_t EndTime = 0;    // StartTime + DurationTicks
};

// Indexed by car number 1..12; slot 0 is unused.
using TCoches = std::array<TCoche, kCars + 1>;

struct TRaceState {
  bool Running = false;
  bool IndividualTiming = true;
  bool SoundOn = false;
  bool UnderOneHour = true;
  int RaceMinutes = 5;        // 1..180
  int Participants = 0;       // 0..12
  std::int64_t StartWallTime = 0;  // milliseconds of the day at the start; 0 when idle
  std::int64_t StartCount = 0;
  std::int64_t DurationTicks = 0;
  std::int64_t EndCount = 0;
  std::int64_t GraceEndCount = 0;
  std::int64_t MinLapTicks = 0;
  std::array<int, kCars + 1> Standings{};  // car numbers by position 1..12; 0 = empty
  int WatchedCar = 0;
  int LastCar = 0;
  std::int32_t PassCount = 0;
  std::int32_t EventCount = 0;
  int RaceNumber = 0;         // 1..99; 0 when no number could be assigned
};

}  // namespace race
