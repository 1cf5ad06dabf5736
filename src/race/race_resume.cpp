// Continuing a race left unfinished by a crash, a kill or a power cut.
#include <algorithm>
#include <cmath>

#include "race/race_control.h"
#include "race/texts.h"
#include "records/lines.h"
#include "records/numbers.h"

namespace race {

namespace {

constexpr std::array<int, 6> kPresetMinutes = {5, 10, 15, 20, 30, 45};

// Only the newest race of today or the day before is offered to go on: a
// wall clock that says more time went by since its start cannot be right.
constexpr double kLongestDownSeconds = 2 * 24 * 3600.0;
constexpr std::int64_t kDayMillis = 24LL * 3600 * 1000;

// The race time of the last recorded pass: the latest lap start of a car.
std::int64_t LastPassTicks(const TCoches& cars, const TRaceState& rs) {
  std::int64_t last = 0;
  for (int n = 1; n <= kCars; ++n) {
    if (cars[n].Participates) last = std::max(last, cars[n].LapStart - rs.StartCount);
  }
  return last;
}

}  // namespace

void RaceControl::ApplyJournalSettings(const records::RunJournal& j, const std::string& description) {
  Spanish = j.spanish;
  for (int n = 1; n <= kCars; ++n) {
    const bool takesPart = std::find(j.cars.begin(), j.cars.end(), n) != j.cars.end();
    setup_.SetParticipates(n, takesPart);
    Coches[n].Participates = takesPart;
    // The start leaves the word of a car that does not race as it was.
    screen_.cars[n].state = (takesPart ? words::kStopped : words::kDisabled).Pick(Spanish);
  }
  const auto preset = std::find(kPresetMinutes.begin(), kPresetMinutes.end(), j.raceMinutes);
  if (preset != kPresetMinutes.end()) {
    setup_.ChooseDuration(static_cast<int>(preset - kPresetMinutes.begin()));
  } else {
    setup_.ChooseDuration(kOtherDurationItem);
    setup_.SetSpinMinutes(std::clamp(j.raceMinutes, kMinSpinMinutes, kMaxSpinMinutes));
  }
  // The timing as the race ran, whatever its length suggests.
  setup_.ChooseTiming(j.individualTiming ? 0 : 1);
  setup_.SetMinLapSeconds(j.minLapSeconds);
  setup_.SetDescription(j.spanish, description);
  setup_.SetSoundTicked(j.soundOn);
  RaceState.IndividualTiming = j.individualTiming;
  screen_.watchedPanelVisible = j.individualTiming;
}

void RaceControl::ReplayPass(const records::TPaso& pass) {
  const int n = pass.car;
  if (n < 1 || n > kCars || !Coches[n].Participates) return;
  const TCoche& c = Coches[n];
  const double frequency = static_cast<double>(timing_.Frequency);
  std::int64_t when = 0;
  if (RaceState.IndividualTiming && c.State == TCarState::csReleased) {
    // The crossing that started the car's own clock: its time from the start.
    when = RaceState.StartCount + RoundTicks(pass.lapTime * frequency);
  } else {
    // Later passes from the total, which is kept to the millisecond from the
    // car's own start, so no rounding of lap times adds up.
    const auto total = records::ParseDurationMillis(pass.total);
    if (!total) return;
    when = c.StartTime + RoundTicks(static_cast<double>(*total) / 1000.0 * frequency);
  }
  ProcessPass(n, when);
  RaceState.PassCount = pass.pass;
}

RaceControl::ResumeOutcome RaceControl::ResumeRace(const records::UnfinishedRace& race) {
  if (RaceState.Running) return ResumeOutcome::kFailed;
  const records::RunJournal& j = race.journal;
  if (auto r = records_.ResumeRace(j.raceBase); !r) {
    Fail(r);
    return ResumeOutcome::kFailed;
  }
  ApplyJournalSettings(j, race.description);
  ReadRaceMinutes();
  ShowRaceMinutes();
  auto& rs = RaceState;
  // The race rebuilt from its passes on a start at counter count `startCount`.
  auto replay = [&](std::int64_t startCount, std::int64_t startWallMillis) {
    BeginRace(startCount, startWallMillis, rs.RaceMinutes);
    rs.PassCount = 0;
    replaying_ = true;
    for (const records::TPaso& pass : race.passes) ReplayPass(pass);
    replaying_ = false;
  };
  const std::int64_t now = timing_.ReadCounter();
  bool clockEstimated = false;
  if (!j.bootId.empty() && j.bootId == bootId_ && j.frequency == timing_.Frequency) {
    // Within one boot the counter went on running: the start stands as it was.
    replay(j.startCount, j.startWallMillis);
  } else {
    // After a reboot the counter began again: the wall clock tells how long
    // ago the start was...
    const platform::LocalDateTime wall = clock_.Now();
    const double frequency = static_cast<double>(timing_.Frequency);
    const double elapsed = static_cast<double>(wall.unixNanos - j.startUnixNanos) / 1e9;
    replay(now - RoundTicks(std::clamp(elapsed, -kLongestDownSeconds, kLongestDownSeconds) * frequency),
           j.startWallMillis);
    // ...unless it puts the start after the last recorded pass (a clock set
    // back, or behind after the reboot) or too long ago. The race then goes
    // on as if its last pass had been one minimum lap ago, the shortest time
    // down that refuses no car's next pass.
    const std::int64_t lastPass = LastPassTicks(Coches, rs);
    if (elapsed * frequency < static_cast<double>(lastPass) || elapsed > kLongestDownSeconds) {
      const std::int64_t sinceStart = lastPass + rs.MinLapTicks;
      const std::int64_t millis = std::llround(static_cast<double>(sinceStart) * 1000.0 / frequency);
      replay(now - sinceStart, ((wall.MillisOfDay() - millis) % kDayMillis + kDayMillis) % kDayMillis);
      clockEstimated = true;
    }
  }
  resumed_ = true;

  screen_.passCount = std::to_string(rs.PassCount);
  rs.EventCount = race.lastEvent;
  screen_.eventCount = std::to_string(rs.EventCount);
  rs.SoundOn = j.soundOn && setup_.soundBoxEnabled();
  for (int n = 1; n <= kCars; ++n) screen_.cars[n].eventRowEnabled = Coches[n].Participates &&
                                                                      Coches[n].State != TCarState::csFinished;
  // Whoever reads the events later learns that the times from here on
  // count from an estimate.
  if (clockEstimated) {
    IncSacaInci();
    timing_.ReadCounter();
    WriteEvent(records::NoteEventLine(rs.EventCount, 0, timing_.FormatSeconds(timing_.NowCount - rs.StartCount),
                                      events::kClockEstimatedCode, words::kClockEstimatedNote.Pick(Spanish)));
  }
  Changed();
  if (observer_ != nullptr) observer_->RunningChanged(true);

  // The race time and its minute of grace ran out while the program was down.
  if (timing_.ReadCounter() > rs.GraceEndCount) {
    Finalizar(false);
    return ResumeOutcome::kFinished;
  }
  Timer1Timer();
  return clockEstimated ? ResumeOutcome::kClockEstimated : ResumeOutcome::kRunning;
}

}  // namespace race
