// Lap input: a function key press becomes a pass of its car.
#include "race/race_control.h"
#include "race/standings.h"
#include "race/texts.h"
#include "records/lines.h"

namespace race {

bool RaceControl::FormKeyDown(int virtualKey) {
  if (!RaceState.Running || virtualKey < kVkF1 || virtualKey > kVkF12) return false;
  return CarCrossed(virtualKey - (kVkF1 - 1), timing_.ReadCounter());
}

bool RaceControl::FormKeyDown(int virtualKey, std::int64_t when) {
  if (!RaceState.Running || virtualKey < kVkF1 || virtualKey > kVkF12) return false;
  return CarCrossed(virtualKey - (kVkF1 - 1), when);
}

bool RaceControl::CarCrossed(int n, std::int64_t when) {
  if (!RaceState.Running || n < 1 || n > kCars) return false;
  // A press made before the start belongs to no race.
  if (when < RaceState.StartCount) return true;
  if (!Coches[n].Participates) {
    NotRacing(n, when);
    return true;
  }
  if (Coches[n].State == TCarState::csFinished) return true;
  // The gate has timed this crossing already: the key is a note of it.
  if (const auto crossing = gateKeys_.CrossingNear(n, when)) {
    WriteNote(n, when, events::kKeyReplacedCode,
              KeyReplacedDetail(n, timing_.FormatSeconds(*crossing - RaceState.StartCount), Spanish), words::kGate);
    return true;
  }
  // The gate's line for it may still be on its way.
  if (gateKeys_.Holds(n)) {
    gateKeys_.Hold(n, when);
    return true;
  }
  ProcessPass(n, when);
  return true;
}

void RaceControl::NotRacing(int n, std::int64_t when) {
  // The crossing of a car that does not race is an event of its own.
  const std::int64_t now = timing_.TakeCount(when);
  IncSacaInci();
  const std::string line = records::ErrorEventLine(RaceState.EventCount, n,
                                                   timing_.FormatSeconds(now - RaceState.StartCount),
                                                   events::kNotRacingCode);
  // The line first: a line that could not be written stops here, with the
  // system's words shown instead of the message.
  if (WriteEvent(line)) {
    const std::string k = std::to_string(RaceState.EventCount);
    screen_.message = Spanish ? k + " No corre F" + std::to_string(n) : k + " F" + std::to_string(n) + " doesn't race";
    cues_.Beep();
  }
  Changed();
}

void RaceControl::SetCarFinished(int n) {
  Coches[n].State = TCarState::csFinished;
  screen_.cars[n].state = words::kFinished.Pick(Spanish);
  screen_.cars[n].eventRowEnabled = false;
  if (RaceState.IndividualTiming && n == RaceState.WatchedCar) screen_.watchedCar.clear();
}

void RaceControl::ProcessPass(int n) {
  if (!RaceState.Running || n < 1 || n > kCars) return;
  ProcessPass(n, timing_.ReadCounter());
}

bool RaceControl::ProcessPass(int n, std::int64_t when) {
  if (!RaceState.Running || n < 1 || n > kCars) return false;
  TCoche& c = Coches[n];
  // A crossing before the start is not a pass of this race, from any source.
  if (c.State == TCarState::csFinished || when < RaceState.StartCount) return false;
  // The time is taken once, first: the moment of the crossing, whatever the
  // rest of the pass costs.
  const std::int64_t now = timing_.TakeCount(when);
  auto& rs = RaceState;

  // More than a minute after the car's time ran out: not counted, the car is done.
  // (A pass taken in again from disk was accepted once already.)
  if (!replaying_ && now - c.EndTime > timing_.GraceTicks) {
    SetCarFinished(n);
    Changed();
    return false;
  }

  const std::int64_t lap = now - c.LapStart;
  // A pass sooner than the minimum lap is refused; the next one is measured
  // from the last accepted pass. A car's first pass is never refused.
  if (!replaying_ && c.FirstPassSeen && lap < rs.MinLapTicks) {
    IncSacaInci();
    const std::string line = records::ErrorEventLine(rs.EventCount, n, timing_.FormatSeconds(now - rs.StartCount),
                                                     events::kTooShortCode);
    if (WriteEvent(line)) {
      screen_.message = std::to_string(rs.EventCount) + " Error F" + std::to_string(n);
      cues_.Beep();
    }
    Changed();
    return false;
  }
  c.FirstPassSeen = true;

  c.LapStart = now;
  const std::string lapText = timing_.FormatSeconds(lap);
  ++rs.PassCount;
  screen_.passCount = std::to_string(rs.PassCount);

  // Past the car's end time: this lap is its last.
  const bool finishing = now > c.EndTime;
  if (finishing) SetCarFinished(n);

  CarRow& row = screen_.cars[n];
  if (rs.IndividualTiming && c.State == TCarState::csReleased) {
    // The first crossing starts the car's own clock and counts no lap.
    c.Laps = 0;
    c.StartTime = now;
    c.EndTime = c.StartTime + rs.DurationTicks;
    row.state = words::kRacingAfterFirstPass.Pick(Spanish);
    c.State = TCarState::csRacing;
  } else {
    ++c.Laps;
  }

  // Under common timing the lap from the start button to the first crossing
  // is not a full lap, so the first fastest lap is lap 2.
  if (c.BestLapSet) {
    if (lap < c.BestLap) {
      c.BestLap = lap;
      row.fastestLap = lapText;
    }
  } else if ((rs.IndividualTiming && c.Laps == 1) || (!rs.IndividualTiming && c.Laps == 2)) {
    c.BestLap = lap;
    c.BestLapSet = true;
    row.fastestLap = lapText;
  }

  SortStandings(rs, Coches);
  if (observer_ != nullptr && !replaying_) observer_->PassAccepted(n);
  ShowStandings();

  const std::string totalText = timing_.FormatRaceTime(now - c.StartTime, rs.UnderOneHour);
  row.accumulated = totalText;
  if (rs.LastCar >= 1 && rs.LastCar <= kCars) screen_.cars[rs.LastCar].lapsHighlighted = false;
  row.laps = std::to_string(c.Laps);
  row.lapsHighlighted = true;
  rs.LastCar = n;
  row.lastLap = lapText;
  if (replaying_) return true;
  Changed();

  cues_.LapCue(n, rs.SoundOn, Spanish);
  if (finishing) cues_.FinishCue(rs.SoundOn, Spanish);
  if (auto r = records_.AppendPass(records::PassLine(rs.PassCount, n, c.Laps, lapText, totalText)); !r) Fail(r);
  return true;
}

}  // namespace race
