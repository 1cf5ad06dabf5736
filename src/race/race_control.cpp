#include "race/race_control.h"

#include <algorithm>
#include <cstdio>

#include "race/standings.h"
#include "race/texts.h"
#include "records/cp1252.h"
#include "records/lines.h"
#include "records/naming.h"
#include "records/run_journal.h"

namespace race {

RaceControl::RaceControl(platform::PerformanceCounter& counter, platform::WallClock& clock,
                         platform::SoundDevice& sound, records::RecordSink& records)
    : timing_(counter), clock_(clock), cues_(sound), records_(records) {
  for (int n = 1; n <= kCars; ++n) {
    Coches[n].Participates = setup_.Participates(n);
    screen_.cars[n].state = (Coches[n].Participates ? words::kStopped : words::kDisabled).Pick(Spanish);
  }
  RaceState.IndividualTiming = setup_.IndividualTiming();
  screen_.watchedPanelVisible = RaceState.IndividualTiming;
  screen_.raceStatus = words::kRaceIdle.Pick(Spanish);
  Count_Partic();
  ReadRaceMinutes();
  ShowRaceMinutes();
}

bool RaceControl::InitTiming() { return timing_.Init(); }

void RaceControl::SetNumbering(const std::string& dayBase, int raceNumber) {
  dayBase_ = dayBase;
  RaceState.RaceNumber = raceNumber;
  const bool usable = raceNumber >= 1 && raceNumber <= records::kMaxRacesPerDay;
  nextRaceBase_ = usable ? records::NextRaceBase(dayBase_, raceNumber) : std::string();
  screen_.nextFile = nextRaceBase_;
  Changed();
}

void RaceControl::Changed() {
  if (observer_ != nullptr) observer_->ScreenChanged();
}

void RaceControl::Fail(const records::IoResult& result) {
  if (!result && observer_ != nullptr) observer_->ShowError(result.error);
}

bool RaceControl::Button1Click() {
  if (RaceState.Running) return false;
  const platform::LocalDateTime wall = clock_.Now();
  timing_.ReadCounter();
  const std::int64_t startCount = timing_.NowCount;
  ReadRaceMinutes();
  ShowRaceMinutes();

  // No start may write into another race's files.
  if (nextRaceBase_.empty()) {
    if (observer_ != nullptr) observer_->ShowMessage(words::kNoRaceNumberLeft);
    Changed();
    return false;
  }

  // The race files come first: if they cannot be created, nothing of the
  // window or the car table has changed and the race stays idle.
  const int minutes = RaceState.RaceMinutes;
  const int participants = setup_.CountParticipants();
  // A pasted line break or TAB must not split the classification's first line.
  const std::string description = records::FieldText(setup_.Description(Spanish));
  records::RaceStartRecord record;
  record.nextRaceBase = nextRaceBase_;
  record.racesFileName = records::RacesFileName(dayBase_);
  record.description = description;
  record.startLine =
      records::ClassificationStartLine(Spanish, RaceState.RaceNumber, minutes, participants, wall.MillisOfDay());
  record.racesLine =
      records::RacesLine(RaceState.RaceNumber, minutes, participants, wall.MillisOfDay(), description);
  record.journal = records::FormatRunJournal(Journal(startCount, wall));
  if (auto r = records_.StartRace(record); !r) {
    Fail(r);
    Changed();
    return false;
  }

  resumed_ = false;
  BeginRace(startCount, wall.MillisOfDay(), minutes);
  auto& rs = RaceState;
  rs.EventCount = 0;
  rs.PassCount = 0;
  screen_.passCount = "0";
  screen_.eventCount = "0";
  rs.SoundOn = setup_.SoundOn();
  Changed();
  if (observer_ != nullptr) observer_->RunningChanged(true);
  cues_.StartCue(rs.SoundOn, Spanish);
  return true;
}

records::RunJournal RaceControl::Journal(std::int64_t startCount, const platform::LocalDateTime& wall) const {
  records::RunJournal j;
  j.raceBase = nextRaceBase_;
  for (int n = 1; n <= kCars; ++n) {
    if (setup_.Participates(n)) j.cars.push_back(n);
  }
  j.individualTiming = setup_.IndividualTiming();
  j.raceMinutes = RaceState.RaceMinutes;
  j.minLapSeconds = setup_.minLapSeconds();
  j.spanish = Spanish;
  j.soundOn = setup_.SoundOn();
  j.frequency = timing_.Frequency;
  j.startCount = startCount;
  j.startWallMillis = wall.MillisOfDay();
  j.startUnixNanos = wall.unixNanos;
  j.bootId = bootId_;
  return j;
}

void RaceControl::BeginRace(std::int64_t startCount, std::int64_t startWallMillis, int minutes) {
  auto& rs = RaceState;
  rs.StartWallTime = startWallMillis;
  rs.StartCount = startCount;
  const double frequency = static_cast<double>(timing_.Frequency);
  rs.DurationTicks = RoundTicks(minutes * 60.0 * frequency);
  rs.EndCount = rs.StartCount + rs.DurationTicks;
  rs.GraceEndCount = rs.EndCount + timing_.GraceTicks;
  rs.MinLapTicks = RoundTicks(setup_.minLapSeconds() * frequency);
  // A key and a gate crossing of one car within a second of each other are
  // one crossing: a director's press is seldom more than a few tenths off
  // the car. Two crossings of a car lie at least a minimum lap apart, and a
  // window of at most half of it never joins a key to both.
  gateKeys_.NewRace(RoundTicks(kKeyHoldMillis / 1000.0 * frequency),
                    std::min<std::int64_t>(timing_.Frequency, rs.MinLapTicks / 2));
  rs.LastCar = 0;
  rs.IndividualTiming = setup_.IndividualTiming();
  // Races that can reach an hour (with the minute of grace) show hours in
  // every time of the race, so no whole hour is ever dropped.
  rs.UnderOneHour = minutes + 1 < 60;

  for (int n = 1; n <= kCars; ++n) {
    TCoche& c = Coches[n];
    CarRow& row = screen_.cars[n];
    c.Laps = 0;
    c.BestLap = 0;
    c.LapStart = rs.StartCount;
    c.StartTime = rs.StartCount;
    c.EndTime = c.StartTime + rs.DurationTicks;
    c.BestLapSet = false;
    c.FirstPassSeen = false;
    rs.Standings[n] = 0;
    row.lapsHighlighted = false;
    row.position.clear();
    c.Participates = setup_.Participates(n);
    row.eventRowEnabled = c.Participates;
    if (c.Participates) {
      row.laps = "0";
      row.fastestLap = "0";
      row.lastLap = timing_.FormatSeconds(0);
      row.accumulated = "0";
      if (rs.IndividualTiming) {
        c.State = TCarState::csReleased;
        row.state = words::kReleased.Pick(Spanish);
      } else {
        c.State = TCarState::csRacing;
        row.state = words::kRacingAtStart.Pick(Spanish);
      }
    } else {
      row.laps.clear();
      row.fastestLap.clear();
      row.lastLap.clear();
      row.accumulated.clear();
    }
  }
  Count_Partic();
  for (int n = 1, slot = 1; n <= kCars; ++n) {
    if (Coches[n].Participates) rs.Standings[slot++] = n;
  }

  screen_.raceStatus = words::kRaceStarted.Pick(Spanish);
  screen_.message.clear();
  screen_.watchedCar.clear();
  screen_.runningOrder.clear();
  screen_.running = true;
  rs.Running = true;
}

std::string RaceControl::RaceClockText(std::int64_t nowMillisOfDay) const {
  std::int64_t e = nowMillisOfDay - RaceState.StartWallTime;
  if (e < 0) e += 24LL * 3600 * 1000;  // midnight passed
  const long long h = e / 3600000, m = e / 60000 % 60, s = e / 1000 % 60;
  char buf[48];
  if (!RaceState.Running) {
    std::snprintf(buf, sizeof buf, "%02lldh%02lld' %02lld\"", h, m, s);
  } else if (RaceState.UnderOneHour) {
    std::snprintf(buf, sizeof buf, "%02lld'%02lld\"", m, s);
  } else {
    std::snprintf(buf, sizeof buf, "%lldh%02lld'%02lld\"", h, m, s);
  }
  return buf;
}

void RaceControl::PulseSponsor() {
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

void RaceControl::Timer1Timer() {
  PulseSponsor();
  screen_.raceClock = RaceClockText(clock_.Now().MillisOfDay());
  ReadRaceMinutes();
  ShowRaceMinutes();
  const std::int64_t now = timing_.ReadCounter();
  auto& rs = RaceState;
  if (rs.Running) {
    // Keys that waited long enough for the gate count before the race may end.
    DeliverKeys(gateKeys_.TakeDue(now));
    if (now > rs.GraceEndCount) {
      Finalizar(false);
    } else if (now > rs.EndCount) {
      screen_.raceStatus = words::kRaceTimeUp.Pick(Spanish);
      int finished = 0;
      for (int n = 1; n <= kCars; ++n) {
        TCoche& c = Coches[n];
        if (!c.Participates) continue;
        if (rs.IndividualTiming && c.State != TCarState::csTimeUp && c.State != TCarState::csFinished &&
            c.EndTime < now) {
          c.State = TCarState::csTimeUp;
          screen_.cars[n].state = words::kTimeUp.Pick(Spanish);
        }
        if (c.State == TCarState::csFinished) ++finished;
      }
      if (finished == rs.Participants) Finalizar(false);
    }
    const int w = rs.WatchedCar;
    if (rs.IndividualTiming && w >= 1 && w <= kCars &&
        (Coches[w].State == TCarState::csRacing || Coches[w].State == TCarState::csTimeUp)) {
      screen_.watchedCar =
          std::to_string(w) + ": " + timing_.FormatWatchedTime(now - Coches[w].StartTime, rs.UnderOneHour);
    }
  }
  Changed();
}

void RaceControl::Finalizar(bool stopped) {
  auto& rs = RaceState;
  if (!rs.Running) return;
  // Keys still waiting for the gate count before the race ends.
  DeliverKeys(gateKeys_.TakeAll());
  screen_.raceStatus = words::kRaceFinished.Pick(Spanish);
  cues_.EndCue(rs.SoundOn, Spanish);
  screen_.running = false;

  std::string stoppedAt;
  if (stopped) {
    timing_.ReadCounter();
    stoppedAt = timing_.FormatRaceTime(timing_.NowCount - rs.StartCount, rs.UnderOneHour);
  }
  const std::string finishLine =
      records::ClassificationFinishLine(Spanish, rs.IndividualTiming, stopped, stoppedAt);
  std::vector<std::string> rows;
  for (int i = 1; i <= kCars; ++i) {
    const int n = rs.Standings[i];
    if (n < 1 || n > kCars || !Coches[n].Participates) continue;
    const TCoche& c = Coches[n];
    rows.push_back(records::ClassificationRow(i, n, c.Laps,
                                              timing_.FormatRaceTime(c.LapStart - c.StartTime, rs.UnderOneHour),
                                              timing_.FormatSeconds(c.BestLap)));
  }
  const records::IoResult written = records_.FinishRace(finishLine, rows);

  rs.Running = false;
  SortStandings(rs, Coches);
  for (int n = 1; n <= kCars; ++n) {
    if (!Coches[n].Participates) continue;
    Coches[n].State = TCarState::csStopped;
    screen_.cars[n].state = words::kStopped.Pick(Spanish);
    if (rs.IndividualTiming && n == rs.WatchedCar) screen_.watchedCar.clear();
  }
  // A resumed race was numbered before this run: the day's next number
  // already lies past it.
  if (!resumed_) ++rs.RaceNumber;
  resumed_ = false;
  SetNumbering(dayBase_, rs.RaceNumber);
  rs.StartWallTime = 0;
  Changed();
  if (observer_ != nullptr) observer_->RunningChanged(false);
  Fail(written);
}

void RaceControl::ShowStandings() {
  for (int i = 1; i <= kCars; ++i) {
    const int n = RaceState.Standings[i];
    if (n >= 1 && n <= kCars && Coches[n].Participates) screen_.cars[n].position = std::to_string(i);
  }
  screen_.runningOrder = RunningOrderText(RaceState, Coches);
}

void RaceControl::CheckBoxClick(int car, bool ticked) {
  if (RaceState.Running || car < 1 || car > kCars) return;
  setup_.SetParticipates(car, ticked);
  Coches[car].Participates = ticked;
  screen_.cars[car].state = (ticked ? words::kStopped : words::kDisabled).Pick(Spanish);
  Count_Partic();
  Changed();
}

void RaceControl::Count_Partic() {
  int count = 0;
  for (int n = 1; n <= kCars; ++n) count += Coches[n].Participates ? 1 : 0;
  RaceState.Participants = count;
  screen_.participantCount = std::to_string(count);
}

void RaceControl::RadioGroup1Click(int item) {
  if (RaceState.Running) return;
  setup_.ChooseTiming(item);
  RaceState.IndividualTiming = setup_.IndividualTiming();
  screen_.watchedPanelVisible = RaceState.IndividualTiming;
  Changed();
}

void RaceControl::RadioGroup2Click(int item) {
  if (RaceState.Running) return;
  setup_.ChooseDuration(item);
  RadioGroup1Click(setup_.timingItem());
}

void RaceControl::SpinEdit1Change(int minutes) {
  if (RaceState.Running) return;
  setup_.SetSpinMinutes(minutes);
  RadioGroup1Click(setup_.timingItem());
}

void RaceControl::Select(int car) {
  if (!RaceState.IndividualTiming || car < 1 || car > kCars) return;
  if (Coches[car].Participates) RaceState.WatchedCar = car;
}

void RaceControl::ReadRaceMinutes() { RaceState.RaceMinutes = setup_.ReadRaceMinutes(); }

void RaceControl::ShowRaceMinutes() { screen_.raceLength = std::to_string(RaceState.RaceMinutes) + "'"; }

void RaceControl::ToggleLanguage() {
  if (RaceState.Running) return;
  Spanish = !Spanish;
  for (int n = 1; n <= kCars; ++n) {
    screen_.cars[n].state = (Coches[n].Participates ? words::kStopped : words::kDisabled).Pick(Spanish);
  }
  screen_.raceStatus = words::kRaceIdle.Pick(Spanish);
  screen_.message.clear();
  Changed();
}

}  // namespace race
