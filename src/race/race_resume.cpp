// Continuing a race left unfinished by a crash, a kill or a power cut: its
// recorded lines are taken in again by the race rules.
#include <algorithm>
#include <cmath>

#include "race/race_control.h"
#include "race/texts.h"
#include "records/corrections.h"
#include "records/lines.h"

namespace race {

namespace {

// Only the newest race of today or the day before is offered to go on: a
// wall clock that says more time went by since its start cannot be right.
constexpr double kLongestDownSeconds = 2 * 24 * 3600.0;
constexpr std::int64_t kDayMillis = 24LL * 3600 * 1000;

// The race's settings as its journal kept them.
RaceSetup SetupOf(const records::RunJournal& j, const std::string& description) {
  RaceSetup setup;
  for (const int car : j.cars) setup.participates.at(static_cast<std::size_t>(car)) = true;
  setup.minutes = j.raceMinutes;
  setup.individualTiming = j.individualTiming;
  setup.minLapSeconds = j.minLapSeconds;
  setup.description = description;
  setup.soundOn = j.soundOn;
  return setup;
}

}  // namespace

void RaceControl::TakeInRecordedPasses(const records::UnfinishedRace& race) {
  // The missed crossings added during the race and not undone, each after
  // the pass that ended the lap it split, as it was added.
  std::vector<records::Correction> added;
  for (const records::TInci& line : race.corrections) {
    const auto c = records::ParseCorrection(line);
    if (!c) continue;
    if (c->kind == records::Correction::Kind::AddLap) added.push_back(*c);
    if (c->kind == records::Correction::Kind::Undo) {
      std::erase_if(added, [&](const records::Correction& a) { return a.number == c->undone && a.car == c->car; });
    }
  }
  for (const records::TPaso& line : race.passes) {
    const PassOutcome pass = session_.RecordedPass(line);
    if (!pass.accepted()) continue;
    texts_.Pass(line.car, pass, timing_.FormatSeconds(pass.lap),
                timing_.FormatRaceTime(pass.total, State().UnderOneHour), session_);
    for (const records::Correction& c : added) {
      if (c.pass != line.pass || c.car != line.car) continue;
      if (session_.AddMissedLap(c.car) == RaceSession::AddLapOutcome::kAdded) {
        texts_.LapAdded(c.car, timing_.FormatSeconds(Cars()[static_cast<std::size_t>(c.car)].BestLap), session_);
      }
    }
  }
}

RaceControl::ResumeOutcome RaceControl::ResumeRace(const records::UnfinishedRace& race) {
  if (State().Running) return ResumeOutcome::kFailed;
  const Handling handling(*this);
  const records::RunJournal& j = race.journal;
  if (auto r = recorder_.ResumeRace(j.raceBase); !r) {
    Fail(r);
    return ResumeOutcome::kFailed;
  }
  // The panel as the race ran, in the language it ran in.
  texts_.SetSpanish(j.spanish, session_);
  ShowSetup(SetupOf(j, race.description));
  const RaceSetup setup = setup_.Setup(spanish());
  // The race taken in again from its passes on a start at counter count `startCount`.
  auto takeIn = [&](std::int64_t startCount, std::int64_t startWallMillis) {
    BeginRace(setup, startCount, startWallMillis);
    TakeInRecordedPasses(race);
  };
  const std::int64_t now = timing_.ReadCounter();
  bool clockEstimated = false;
  if (!j.bootId.empty() && j.bootId == bootId_ && j.frequency == timing_.Frequency()) {
    // Within one boot the counter went on running: the start stands as it was.
    takeIn(j.startCount, j.startWallMillis);
  } else {
    // After a reboot the counter began again: the wall clock tells how long
    // ago the start was...
    const platform::LocalDateTime wall = clock_.Now();
    const double frequency = static_cast<double>(timing_.Frequency());
    const double elapsed = static_cast<double>(wall.unixNanos - j.startUnixNanos) / 1e9;
    takeIn(now - RoundTicks(std::clamp(elapsed, -kLongestDownSeconds, kLongestDownSeconds) * frequency),
           j.startWallMillis);
    // ...unless it puts the start after the last recorded pass (a clock set
    // back, or behind after the reboot) or too long ago. The race then goes
    // on as if its last pass had been one minimum lap ago, the shortest time
    // down that refuses no car's next pass.
    const std::int64_t lastPass = session_.LastPassTicks();
    if (elapsed * frequency < static_cast<double>(lastPass) || elapsed > kLongestDownSeconds) {
      const std::int64_t sinceStart = lastPass + State().MinLapTicks;
      const std::int64_t millis = std::llround(static_cast<double>(sinceStart) * 1000.0 / frequency);
      takeIn(now - sinceStart, ((wall.MillisOfDay() - millis) % kDayMillis + kDayMillis) % kDayMillis);
      clockEstimated = true;
    }
  }
  resumed_ = true;
  resumedBase_ = j.raceBase;
  session_.RecordedEvents(race.lastEvent);
  texts_.PassCount(State().PassCount);
  texts_.EventCount(State().EventCount);
  texts_.EventRows(session_);
  Changed();
  recorder_.Started({RunningRace(), running_, true, Millis(now)});
  // Whoever reads the events later learns that the times from here on
  // count from an estimate.
  if (clockEstimated) {
    IncSacaInci();
    const std::int64_t at = timing_.ReadCounter();
    WriteEvent(records::NoteEventLine(State().EventCount, 0, timing_.FormatSeconds(at - State().StartCount),
                                      events::kClockEstimatedCode, words::kClockEstimatedNote.Pick(spanish())),
               events::kClockEstimatedCode, 0, at);
  }

  // The race time and its minute of grace ran out while the program was down.
  if (timing_.ReadCounter() > State().GraceEndCount) {
    Finalizar(false);
    return ResumeOutcome::kFinished;
  }
  Timer1Timer();
  return clockEstimated ? ResumeOutcome::kClockEstimated : ResumeOutcome::kRunning;
}

}  // namespace race
