#include "race/session.h"

#include <algorithm>

#include "race/standings.h"
#include "race/timing.h"
#include "records/numbers.h"

namespace race {

void RaceSession::SetParticipates(int car, bool takesPart) noexcept {
  if (IsCar(car)) cars_[static_cast<std::size_t>(car)].Participates = takesPart;
}

int RaceSession::CountParticipants() noexcept {
  int count = 0;
  for (int n = 1; n <= kCars; ++n) count += cars_[static_cast<std::size_t>(n)].Participates ? 1 : 0;
  state_.Participants = count;
  return count;
}

void RaceSession::Select(int car) noexcept {
  if (!state_.IndividualTiming || !IsCar(car)) return;
  if (cars_[static_cast<std::size_t>(car)].Participates) state_.WatchedCar = car;
}

void RaceSession::Begin(const RaceSetup& setup, std::int64_t frequency, std::int64_t startCount,
                        std::int64_t startWallMillis) {
  auto& rs = state_;
  frequency_ = std::max<std::int64_t>(frequency, 1);
  const double f = static_cast<double>(frequency_);
  graceTicks_ = OneMinuteTicks(frequency_);
  rs.StartWallTime = startWallMillis;
  rs.StartCount = startCount;
  rs.RaceMinutes = setup.minutes;
  rs.DurationTicks = RoundTicks(setup.minutes * 60.0 * f);
  rs.EndCount = rs.StartCount + rs.DurationTicks;
  rs.GraceEndCount = rs.EndCount + graceTicks_;
  rs.MinLapTicks = RoundTicks(setup.minLapSeconds * f);
  rs.LastCar = 0;
  rs.IndividualTiming = setup.individualTiming;
  // Races that can reach an hour (with the minute of grace) show hours in
  // every time of the race, so no whole hour is ever dropped.
  rs.UnderOneHour = setup.minutes + 1 < 60;

  for (int n = 1; n <= kCars; ++n) {
    TCoche& c = cars_[static_cast<std::size_t>(n)];
    c.Laps = 0;
    c.BestLap = 0;
    c.LapStart = rs.StartCount;
    c.StartTime = rs.StartCount;
    c.EndTime = c.StartTime + rs.DurationTicks;
    c.BestLapSet = false;
    c.FirstPassSeen = false;
    rs.Standings[static_cast<std::size_t>(n)] = 0;
    c.Participates = setup.participates[static_cast<std::size_t>(n)];
    // The state of a car that does not race is left as it was.
    if (c.Participates) c.State = rs.IndividualTiming ? TCarState::csReleased : TCarState::csRacing;
  }
  CountParticipants();
  for (int n = 1, slot = 1; n <= kCars; ++n) {
    if (cars_[static_cast<std::size_t>(n)].Participates) rs.Standings[static_cast<std::size_t>(slot++)] = n;
  }
  lastLap_.fill(0);
  lastPass_.fill(0);
  rs.EventCount = 0;
  rs.PassCount = 0;
  rs.SoundOn = setup.soundOn;
  rs.Running = true;
}

PassOutcome RaceSession::Crossing(int car, std::int64_t when) {
  PassOutcome out;
  if (!state_.Running || !IsCar(car)) return out;
  TCoche& c = cars_[static_cast<std::size_t>(car)];
  // A crossing before the start is not a pass of this race, from any source.
  if (c.State == TCarState::csFinished || when < state_.StartCount) return out;
  // More than a minute after the car's time ran out: not counted, the car is done.
  if (when - c.EndTime > graceTicks_) {
    c.State = TCarState::csFinished;
    out.kind = PassOutcome::Kind::kTooLate;
    return out;
  }
  // A pass sooner than the minimum lap is refused; the next one is measured
  // from the last accepted pass. A car's first pass is never refused.
  out.lap = when - c.LapStart;
  if (c.FirstPassSeen && out.lap < state_.MinLapTicks) {
    out.kind = PassOutcome::Kind::kTooShort;
    return out;
  }
  return Accept(car, when);
}

PassOutcome RaceSession::Accept(int car, std::int64_t now) {
  auto& rs = state_;
  TCoche& c = cars_[static_cast<std::size_t>(car)];
  PassOutcome out;
  out.kind = PassOutcome::Kind::kAccepted;
  c.FirstPassSeen = true;
  out.lap = now - c.LapStart;
  c.LapStart = now;
  ++rs.PassCount;

  // Past the car's end time: this lap is its last.
  out.finishing = now > c.EndTime;
  if (out.finishing) c.State = TCarState::csFinished;
  if (rs.IndividualTiming && c.State == TCarState::csReleased) {
    // The first crossing starts the car's own clock and counts no lap.
    c.Laps = 0;
    c.StartTime = now;
    c.EndTime = c.StartTime + rs.DurationTicks;
    c.State = TCarState::csRacing;
    out.ownClockStarted = true;
  } else {
    ++c.Laps;
  }

  // Under common timing the lap from the start button to the first crossing
  // is not a full lap, so the first fastest lap is lap 2.
  if (c.BestLapSet) {
    if (out.lap < c.BestLap) {
      c.BestLap = out.lap;
      out.newBest = true;
    }
  } else if ((rs.IndividualTiming && c.Laps == 1) || (!rs.IndividualTiming && c.Laps == 2)) {
    c.BestLap = out.lap;
    c.BestLapSet = true;
    out.newBest = true;
  }

  lastLap_[static_cast<std::size_t>(car)] = out.lap;
  lastPass_[static_cast<std::size_t>(car)] = rs.PassCount;
  SortStandings(rs, cars_);
  out.total = now - c.StartTime;
  out.previousLastCar = rs.LastCar;
  rs.LastCar = car;
  return out;
}

PassOutcome RaceSession::RecordedPass(const records::TPaso& pass) {
  const int n = pass.car;
  if (!IsCar(n) || !cars_[static_cast<std::size_t>(n)].Participates) return {};
  const TCoche& c = cars_[static_cast<std::size_t>(n)];
  const double f = static_cast<double>(frequency_);
  std::int64_t when = 0;
  if (state_.IndividualTiming && c.State == TCarState::csReleased) {
    // The crossing that started the car's own clock: its time from the start.
    when = state_.StartCount + RoundTicks(pass.lapTime * f);
  } else {
    const auto total = records::ParseDurationMillis(pass.total);
    if (!total) return {};
    when = c.StartTime + RoundTicks(static_cast<double>(*total) / 1000.0 * f);
  }
  PassOutcome out;
  if (state_.Running && c.State != TCarState::csFinished && when >= state_.StartCount) out = Accept(n, when);
  state_.PassCount = pass.pass;
  if (out.accepted()) lastPass_[static_cast<std::size_t>(n)] = pass.pass;
  return out;
}

RaceSession::AddLapOutcome RaceSession::AddMissedLap(int car) {
  if (!IsCar(car)) return AddLapOutcome::kNoLap;
  const auto i = static_cast<std::size_t>(car);
  TCoche& c = cars_[i];
  if (!c.Participates || c.Laps < 1 || lastPass_[i] == 0) return AddLapOutcome::kNoLap;
  const std::int64_t first = lastLap_[i] / 2;
  const std::int64_t second = lastLap_[i] - first;
  if (first < state_.MinLapTicks || second < state_.MinLapTicks || first <= 0) return AddLapOutcome::kTooShort;
  // The halves are laps c.Laps and c.Laps + 1; under common timing lap 1
  // runs from the start button and is no full lap.
  const int firstFull = state_.IndividualTiming ? 1 : 2;
  std::int64_t best = second;
  if (c.Laps >= firstFull) best = std::min(best, first);
  if (!c.BestLapSet || best < c.BestLap) c.BestLap = best;
  c.BestLapSet = true;
  ++c.Laps;
  lastLap_[i] = second;
  SortStandings(state_, cars_);
  return AddLapOutcome::kAdded;
}

int RaceSession::LastPassOf(int car) const noexcept {
  return IsCar(car) ? lastPass_[static_cast<std::size_t>(car)] : 0;
}

TickOutcome RaceSession::Tick(std::int64_t now) {
  TickOutcome out;
  auto& rs = state_;
  if (!rs.Running) return out;
  if (now > rs.GraceEndCount) {
    out.graceOver = true;
    return out;
  }
  if (now <= rs.EndCount) return out;
  out.timeUp = true;
  int finished = 0;
  for (int n = 1; n <= kCars; ++n) {
    TCoche& c = cars_[static_cast<std::size_t>(n)];
    if (!c.Participates) continue;
    if (rs.IndividualTiming && c.State != TCarState::csTimeUp && c.State != TCarState::csFinished &&
        c.EndTime < now) {
      c.State = TCarState::csTimeUp;
      out.carTimeUp[static_cast<std::size_t>(n)] = true;
    }
    if (c.State == TCarState::csFinished) ++finished;
  }
  out.allFinished = finished == rs.Participants;
  return out;
}

std::vector<ClassifiedCar> RaceSession::Classification() const {
  std::vector<ClassifiedCar> rows;
  for (int i = 1; i <= kCars; ++i) {
    const int n = state_.Standings[static_cast<std::size_t>(i)];
    if (!IsCar(n) || !cars_[static_cast<std::size_t>(n)].Participates) continue;
    const TCoche& c = cars_[static_cast<std::size_t>(n)];
    rows.push_back({i, n, c.Laps, c.LapStart - c.StartTime, c.BestLap});
  }
  return rows;
}

void RaceSession::End() noexcept {
  state_.Running = false;
  SortStandings(state_, cars_);
  for (int n = 1; n <= kCars; ++n) {
    TCoche& c = cars_[static_cast<std::size_t>(n)];
    if (c.Participates) c.State = TCarState::csStopped;
  }
  // The clock shows the time of day again.
  state_.StartWallTime = 0;
}

std::int64_t RaceSession::LastPassTicks() const noexcept {
  std::int64_t last = 0;
  for (int n = 1; n <= kCars; ++n) {
    const TCoche& c = cars_[static_cast<std::size_t>(n)];
    if (c.Participates) last = std::max(last, c.LapStart - state_.StartCount);
  }
  return last;
}

int RaceSession::PositionOf(int car) const noexcept {
  for (int i = 1; i <= kCars; ++i) {
    if (state_.Standings[static_cast<std::size_t>(i)] == car) return i;
  }
  return 0;
}

}  // namespace race
