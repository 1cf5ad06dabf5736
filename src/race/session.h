#pragma once
// The race rules: the model of the one race (the car table `Coches` and the
// race record `RaceState`), fed with crossings, recorded pass lines,
// events, clock ticks and a finish, and saying what each of them decided.
// It reads no counter and writes no file and no text: the same rules judge
// a race as it is run and a race taken in again from its lines.

#include <array>
#include <cstdint>
#include <vector>

#include "race/model.h"
#include "race/setup.h"
#include "records/readers.h"

namespace race {

// What a crossing came to.
struct PassOutcome {
  enum class Kind {
    kIgnored,   // no race, a crossing before the start, or a car already finished
    kTooLate,   // more than a minute after the car's time ran out: not counted, the car is finished
    kTooShort,  // sooner than the minimum lap after the car's last accepted pass: refused
    kAccepted,
  };
  Kind kind = Kind::kIgnored;
  std::int64_t lap = 0;          // ticks from the car's previous accepted pass (or the start)
  std::int64_t total = 0;        // ticks from the car's own start, when accepted
  bool finishing = false;        // the pass was the car's last
  bool ownClockStarted = false;  // individual timing: the crossing started the car's own clock
  bool newBest = false;          // the lap is the car's fastest so far
  int previousLastCar = 0;       // the car of the accepted pass before
  bool accepted() const noexcept { return kind == Kind::kAccepted; }
};

// What a clock tick found.
struct TickOutcome {
  bool graceOver = false;                   // one minute past the race time: the race ends
  bool timeUp = false;                      // the race time is over
  std::array<bool, kCars + 1> carTimeUp{};  // individual timing: cars whose own time ran out now
  bool allFinished = false;                 // after the race time, every participating car has finished
};

// A row of the classification, in ticks.
struct ClassifiedCar {
  int position = 0;
  int car = 0;
  int laps = 0;
  std::int64_t total = 0;    // the car's race time at its last accepted pass
  std::int64_t bestLap = 0;  // 0 when no lap was timed
};

class RaceSession final {
 public:
  // Idle: no car takes part until told.
  RaceSession() = default;

  // Between races the model follows the setup panel.
  void SetParticipates(int car, bool takesPart) noexcept;
  // Participants := the cars taking part; returns it.
  int CountParticipants() noexcept;
  void SetIndividualTiming(bool individual) noexcept { state_.IndividualTiming = individual; }
  void SetRaceMinutes(int minutes) noexcept { state_.RaceMinutes = minutes; }
  void SetRaceNumber(int number) noexcept { state_.RaceNumber = number; }
  void SetSoundOn(bool on) noexcept { state_.SoundOn = on; }
  // Under individual timing a participating car becomes the watched car.
  void Select(int car) noexcept;

  // A race with these settings starts at counter count `startCount` (the
  // counter runs at `frequency` ticks a second), `startWallMillis` into the
  // day. The counts of passes and events start again from 0.
  void Begin(const RaceSetup& setup, std::int64_t frequency, std::int64_t startCount, std::int64_t startWallMillis);

  // A crossing of car n at counter count `when`, judged by the rules.
  PassOutcome Crossing(int car, std::int64_t when);
  // A pass as its line recorded it: taken as it stands (it was accepted
  // once), timed from its total, which is kept to the millisecond from the
  // car's own start so that no rounding of lap times adds up. Ignored when
  // it names no racing car or no duration, or a car already finished.
  PassOutcome RecordedPass(const records::TPaso& pass);
  // The next event's number: every events line takes one.
  int NewEvent() noexcept { return ++state_.EventCount; }
  // The events recorded so far, up to number `last`.
  void RecordedEvents(int last) noexcept { state_.EventCount = last; }

  // A crossing of car n was missed inside its last lap: that lap counts as
  // two equal halves, the car one lap more. Refused when the car has no
  // timed lap or a half would be shorter than the minimum lap.
  enum class AddLapOutcome { kAdded, kNoLap, kTooShort };
  AddLapOutcome AddMissedLap(int car);
  // The number of the car's last accepted pass; 0 before its first.
  int LastPassOf(int car) const noexcept;

  TickOutcome Tick(std::int64_t now);
  // The classification as the standings now stand: one row per participating car.
  std::vector<ClassifiedCar> Classification() const;
  // The race is over: standings sorted once more, every participating car stopped.
  void End() noexcept;

  const TCoches& Cars() const noexcept { return cars_; }
  const TRaceState& State() const noexcept { return state_; }
  // The race time of the last recorded pass: the latest lap start of a car.
  std::int64_t LastPassTicks() const noexcept;
  // The car in position 1; 0 with no participant.
  int Leader() const noexcept { return state_.Standings[1]; }
  int PositionOf(int car) const noexcept;

 private:
  PassOutcome Accept(int car, std::int64_t now);

  TCoches cars_{};
  TRaceState state_{};
  std::array<std::int64_t, kCars + 1> lastLap_{};  // each car's last lap, halved by a missed crossing
  std::array<int, kCars + 1> lastPass_{};
  std::int64_t frequency_ = 1;
  std::int64_t graceTicks_ = 0;
};

}  // namespace race
