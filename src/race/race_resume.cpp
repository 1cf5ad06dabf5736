// Continuing a race left unfinished by a crash, a kill or a power cut.
#include <algorithm>
#include <cmath>

#include "race/race_control.h"
#include "race/texts.h"

namespace race {

namespace {

constexpr std::array<int, 6> kPresetMinutes = {5, 10, 15, 20, 30, 45};

}  // namespace

void RaceControl::ApplyJournalSettings(const records::RunJournal& j, const std::string& description) {
  Spanish = j.spanish;
  for (int n = 1; n <= kCars; ++n) {
    const bool takesPart = std::find(j.cars.begin(), j.cars.end(), n) != j.cars.end();
    setup_.SetParticipates(n, takesPart);
    Coches[n].Participates = takesPart;
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

std::int64_t RaceControl::ResumedStartCount(const records::RunJournal& j) {
  const std::int64_t now = timing_.ReadCounter();
  // Within one boot the counter went on running: the start stands as it was.
  if (!j.bootId.empty() && j.bootId == bootId_ && j.frequency == timing_.Frequency) return j.startCount;
  // After a reboot the counter began again: the wall clock tells how long ago the start was.
  const double elapsed = static_cast<double>(clock_.Now().unixNanos - j.startUnixNanos) / 1e9;
  return now - RoundTicks(elapsed * static_cast<double>(timing_.Frequency));
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
  const std::int64_t startCount = ResumedStartCount(j);
  ReadRaceMinutes();
  ShowRaceMinutes();
  BeginRace(startCount, j.startWallMillis, RaceState.RaceMinutes);
  resumed_ = true;

  RaceState.PassCount = 0;
  replaying_ = true;
  for (const records::TPaso& pass : race.passes) ReplayPass(pass);
  replaying_ = false;
  auto& rs = RaceState;
  screen_.passCount = std::to_string(rs.PassCount);
  rs.EventCount = race.lastEvent;
  screen_.eventCount = std::to_string(rs.EventCount);
  rs.SoundOn = j.soundOn && setup_.soundBoxEnabled();
  for (int n = 1; n <= kCars; ++n) screen_.cars[n].eventRowEnabled = Coches[n].Participates &&
                                                                      Coches[n].State != TCarState::csFinished;
  Changed();
  if (observer_ != nullptr) observer_->RunningChanged(true);

  // The race time and its minute of grace ran out while the program was down.
  if (timing_.ReadCounter() > rs.GraceEndCount) {
    Finalizar(false);
    return ResumeOutcome::kFinished;
  }
  Timer1Timer();
  return ResumeOutcome::kRunning;
}

}  // namespace race
