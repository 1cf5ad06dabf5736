#include "race/screen_texts.h"

#include <cstdio>

#include "race/standings.h"

namespace race {

void ScreenTexts::SetSpanish(bool spanish, const RaceSession& race) {
  spanish_ = spanish;
  Idle(race);
  screen_.message.clear();
}

void ScreenTexts::Idle(const RaceSession& race) {
  for (int n = 1; n <= kCars; ++n) Participation(n, race.Cars()[static_cast<std::size_t>(n)].Participates);
  screen_.raceStatus = words::kRaceIdle.Pick(spanish_);
}

void ScreenTexts::Participation(int car, bool takesPart) {
  screen_.cars[static_cast<std::size_t>(car)].state = (takesPart ? words::kStopped : words::kDisabled).Pick(spanish_);
}

void ScreenTexts::Started(const RaceSession& race, const TimingBase& timing) {
  const TRaceState& rs = race.State();
  for (int n = 1; n <= kCars; ++n) {
    const TCoche& c = race.Cars()[static_cast<std::size_t>(n)];
    CarRow& row = screen_.cars[static_cast<std::size_t>(n)];
    row.lapsHighlighted = false;
    row.position.clear();
    row.eventRowEnabled = c.Participates;
    if (c.Participates) {
      row.laps = "0";
      row.fastestLap = "0";
      row.lastLap = timing.FormatSeconds(0);
      row.accumulated = "0";
      row.state = (rs.IndividualTiming ? words::kReleased : words::kRacingAtStart).Pick(spanish_);
    } else {
      row.laps.clear();
      row.fastestLap.clear();
      row.lastLap.clear();
      row.accumulated.clear();
    }
  }
  ParticipantCount(rs.Participants);
  screen_.raceStatus = words::kRaceStarted.Pick(spanish_);
  screen_.message.clear();
  screen_.watchedCar.clear();
  screen_.runningOrder.clear();
  screen_.running = true;
}

void ScreenTexts::EventRows(const RaceSession& race) {
  for (int n = 1; n <= kCars; ++n) {
    const TCoche& c = race.Cars()[static_cast<std::size_t>(n)];
    screen_.cars[static_cast<std::size_t>(n)].eventRowEnabled = c.Participates && c.State != TCarState::csFinished;
  }
}

void ScreenTexts::CarFinished(int car, const RaceSession& race) {
  CarRow& row = screen_.cars[static_cast<std::size_t>(car)];
  row.state = words::kFinished.Pick(spanish_);
  row.eventRowEnabled = false;
  if (race.State().IndividualTiming && car == race.State().WatchedCar) screen_.watchedCar.clear();
}

void ScreenTexts::Pass(int car, const PassOutcome& pass, const std::string& lapText, const std::string& totalText,
                       const RaceSession& race) {
  CarRow& row = screen_.cars[static_cast<std::size_t>(car)];
  PassCount(race.State().PassCount);
  if (pass.finishing) CarFinished(car, race);
  if (pass.ownClockStarted) row.state = words::kRacingAfterFirstPass.Pick(spanish_);
  if (pass.newBest) row.fastestLap = lapText;
  Standings(race);
  row.accumulated = totalText;
  if (IsCar(pass.previousLastCar)) screen_.cars[static_cast<std::size_t>(pass.previousLastCar)].lapsHighlighted = false;
  row.laps = std::to_string(race.Cars()[static_cast<std::size_t>(car)].Laps);
  row.lapsHighlighted = true;
  row.lastLap = lapText;
}

void ScreenTexts::LapAdded(int car, const std::string& fastestText, const RaceSession& race) {
  CarRow& row = screen_.cars[static_cast<std::size_t>(car)];
  row.laps = std::to_string(race.Cars()[static_cast<std::size_t>(car)].Laps);
  row.fastestLap = fastestText;
  Standings(race);
}

void ScreenTexts::Standings(const RaceSession& race) {
  for (int i = 1; i <= kCars; ++i) {
    const int n = race.State().Standings[static_cast<std::size_t>(i)];
    if (IsCar(n) && race.Cars()[static_cast<std::size_t>(n)].Participates) {
      screen_.cars[static_cast<std::size_t>(n)].position = std::to_string(i);
    }
  }
  screen_.runningOrder = RunningOrderText(race.State(), race.Cars());
}

std::string ScreenTexts::RaceClockText(const TRaceState& race, std::int64_t nowMillisOfDay) const {
  std::int64_t e = nowMillisOfDay - race.StartWallTime;
  if (e < 0) e += 24LL * 3600 * 1000;  // midnight passed
  const long long h = e / 3600000, m = e / 60000 % 60, s = e / 1000 % 60;
  char buf[48];
  if (!race.Running) {
    std::snprintf(buf, sizeof buf, "%02lldh%02lld' %02lld\"", h, m, s);
  } else if (race.UnderOneHour) {
    std::snprintf(buf, sizeof buf, "%02lld'%02lld\"", m, s);
  } else {
    std::snprintf(buf, sizeof buf, "%lldh%02lld'%02lld\"", h, m, s);
  }
  return buf;
}

void ScreenTexts::PulseSponsor() {
  screen_.sponsorColour = (static_cast<std::uint32_t>(sponsorLevel_) << 16) | 0x00FF00u;
  if (sponsorRising_) {
    if (sponsorLevel_ > 246) {
      sponsorLevel_ = 255;
      sponsorRising_ = false;
    } else {
      sponsorLevel_ += 8;
    }
  } else if (sponsorLevel_ < 9) {
    sponsorLevel_ = 0;
    sponsorRising_ = true;
  } else {
    sponsorLevel_ -= 8;
  }
}

void ScreenTexts::Tick(const RaceSession& race, std::int64_t nowMillisOfDay) {
  PulseSponsor();
  screen_.raceClock = RaceClockText(race.State(), nowMillisOfDay);
}

void ScreenTexts::TimeUp(const TickOutcome& tick) {
  screen_.raceStatus = words::kRaceTimeUp.Pick(spanish_);
  for (int n = 1; n <= kCars; ++n) {
    if (tick.carTimeUp[static_cast<std::size_t>(n)]) {
      screen_.cars[static_cast<std::size_t>(n)].state = words::kTimeUp.Pick(spanish_);
    }
  }
}

void ScreenTexts::Watched(const RaceSession& race, const TimingBase& timing, std::int64_t now) {
  const TRaceState& rs = race.State();
  const int w = rs.WatchedCar;
  if (!rs.Running || !rs.IndividualTiming || !IsCar(w)) return;
  const TCoche& c = race.Cars()[static_cast<std::size_t>(w)];
  if (c.State == TCarState::csRacing || c.State == TCarState::csTimeUp) {
    screen_.watchedCar = std::to_string(w) + ": " + timing.FormatWatchedTime(now - c.StartTime, rs.UnderOneHour);
  }
}

void ScreenTexts::Finishing() {
  screen_.raceStatus = words::kRaceFinished.Pick(spanish_);
  screen_.running = false;
}

void ScreenTexts::Ended(const RaceSession& race) {
  for (int n = 1; n <= kCars; ++n) {
    if (!race.Cars()[static_cast<std::size_t>(n)].Participates) continue;
    screen_.cars[static_cast<std::size_t>(n)].state = words::kStopped.Pick(spanish_);
    if (race.State().IndividualTiming && n == race.State().WatchedCar) screen_.watchedCar.clear();
  }
}

}  // namespace race
