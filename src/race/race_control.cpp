// The race run: start, clock tick and finish, and the setup panel between races.
#include "race/race_control.h"

#include <algorithm>
#include <cmath>

#include "race/texts.h"
#include "records/cp1252.h"
#include "records/lines.h"
#include "records/naming.h"
#include "records/run_journal.h"

namespace race {

RaceControl::RaceControl(platform::PerformanceCounter& counter, platform::WallClock& clock,
                         platform::SoundDevice& sound, records::RecordSink& records)
    : timing_(counter), clock_(clock), cues_(sound), recorder_(records) {
  for (int n = 1; n <= kCars; ++n) session_.SetParticipates(n, setup_.Participates(n));
  session_.SetIndividualTiming(setup_.IndividualTiming());
  texts_.Idle(session_);
  texts_.WatchedPanel(setup_.IndividualTiming());
  Count_Partic();
  ReadRaceMinutes();
  ShowRaceMinutes();
}

RaceControl::Handling::~Handling() {
  --control_.depth_;
  if (!outer_ || !control_.changed_) return;
  control_.changed_ = false;
  if (control_.observer_ != nullptr) control_.observer_->ScreenChanged();
}

bool RaceControl::InitTiming() { return timing_.Init(); }

void RaceControl::SetNumbering(const std::string& dayBase, int raceNumber) {
  const Handling handling(*this);
  dayBase_ = dayBase;
  session_.SetRaceNumber(raceNumber);
  const bool usable = raceNumber >= 1 && raceNumber <= records::kMaxRacesPerDay;
  nextRaceBase_ = usable ? records::NextRaceBase(dayBase_, raceNumber) : std::string();
  texts_.NextFile(nextRaceBase_);
  Changed();
}

void RaceControl::Fail(const records::IoResult& result) {
  if (!result && observer_ != nullptr) observer_->ShowError(result.error);
}

std::int64_t RaceControl::Millis(std::int64_t ticks) const noexcept {
  return std::llround(timing_.TicksToSeconds(ticks) * 1000.0);
}

records::RaceId RaceControl::RunningRace() const {
  return records::RaceId::Parse(resumed_ ? resumedBase_ : nextRaceBase_).value_or(records::RaceId());
}

bool RaceControl::Button1Click() { return StartRace(setup_.Setup(spanish())); }

void RaceControl::ShowSetup(const RaceSetup& setup) {
  if (State().Running) return;
  const Handling handling(*this);
  setup_.Show(setup, spanish());
  for (int n = 1; n <= kCars; ++n) session_.SetParticipates(n, setup_.Participates(n));
  texts_.Idle(session_);
  Count_Partic();
  RadioGroup1Click(setup_.timingItem());
  ReadRaceMinutes();
  ShowRaceMinutes();
  Changed();
}

bool RaceControl::StartRace(const RaceSetup& wanted) {
  if (State().Running) return false;
  const Handling handling(*this);
  const platform::LocalDateTime wall = clock_.Now();
  const std::int64_t startCount = timing_.ReadCounter();
  // The panel shows the race that runs.
  if (!(setup_.Setup(spanish()) == wanted)) ShowSetup(wanted);
  ReadRaceMinutes();
  ShowRaceMinutes();
  Changed();

  // No start may write into another race's files.
  if (nextRaceBase_.empty()) {
    if (observer_ != nullptr) observer_->ShowMessage(words::kNoRaceNumberLeft);
    return false;
  }

  // The race files come first: if they cannot be created, nothing of the
  // window or the car table has changed and the race stays idle.
  RaceSetup setup = wanted;
  setup.description = records::FieldText(setup.description);
  setup.soundOn = setup.soundOn && setup_.soundBoxEnabled();
  const int number = State().RaceNumber;
  const int participants = setup.Participants();
  records::RaceStartRecord record;
  record.nextRaceBase = nextRaceBase_;
  record.racesFileName = records::RacesFileName(dayBase_);
  record.description = setup.description;
  record.startLine =
      records::ClassificationStartLine(spanish(), number, setup.minutes, participants, wall.MillisOfDay());
  record.racesLine = records::RacesLine(number, setup.minutes, participants, wall.MillisOfDay(), setup.description);
  record.journal = records::FormatRunJournal(Journal(setup, startCount, wall));
  if (auto r = recorder_.StartRace(record); !r) {
    Fail(r);
    return false;
  }

  resumed_ = false;
  BeginRace(setup, startCount, wall.MillisOfDay());
  texts_.PassCount(0);
  texts_.EventCount(0);
  recorder_.Started({RunningRace(), running_, false, Millis(startCount)});
  cues_.StartCue(State().SoundOn, spanish());
  return true;
}

records::RunJournal RaceControl::Journal(const RaceSetup& setup, std::int64_t startCount,
                                         const platform::LocalDateTime& wall) const {
  records::RunJournal j;
  j.raceBase = nextRaceBase_;
  j.cars = setup.Cars();
  j.individualTiming = setup.individualTiming;
  j.raceMinutes = setup.minutes;
  j.minLapSeconds = setup.minLapSeconds;
  j.spanish = spanish();
  j.soundOn = setup.soundOn;
  j.frequency = timing_.Frequency();
  j.startCount = startCount;
  j.startWallMillis = wall.MillisOfDay();
  j.startUnixNanos = wall.unixNanos;
  j.bootId = bootId_;
  return j;
}

void RaceControl::BeginRace(const RaceSetup& setup, std::int64_t startCount, std::int64_t startWallMillis) {
  running_ = setup;
  session_.Begin(setup, timing_.Frequency(), startCount, startWallMillis);
  // A key and a gate crossing of one car within a second of each other are
  // one crossing: a director's press is seldom more than a few tenths off
  // the car. Two crossings of a car lie at least a minimum lap apart, and a
  // window of at most half of it never joins a key to both.
  gateKeys_.NewRace(RoundTicks(kKeyHoldMillis / 1000.0 * static_cast<double>(timing_.Frequency())),
                    std::min<std::int64_t>(timing_.Frequency(), State().MinLapTicks / 2));
  texts_.Started(session_, timing_);
  Changed();
}

void RaceControl::Timer1Timer() {
  const Handling handling(*this);
  texts_.Tick(session_, clock_.Now().MillisOfDay());
  ReadRaceMinutes();
  ShowRaceMinutes();
  const std::int64_t now = timing_.ReadCounter();
  Changed();
  if (State().Running) {
    // Keys that waited long enough for the gate count before the race may end.
    DeliverKeys(gateKeys_.TakeDue(now));
    const TickOutcome tick = session_.Tick(now);
    if (tick.graceOver) {
      Finalizar(false);
    } else if (tick.timeUp) {
      texts_.TimeUp(tick);
      if (tick.allFinished) Finalizar(false);
    }
    texts_.Watched(session_, timing_, now);
  }
  recorder_.Ticked({State().Running, Millis(State().EndCount - now), Millis(now)});
}

void RaceControl::Finalizar(bool stopped) {
  if (!State().Running) return;
  const Handling handling(*this);
  // Keys still waiting for the gate count before the race ends.
  DeliverKeys(gateKeys_.TakeAll());
  texts_.Finishing();
  cues_.EndCue(State().SoundOn, spanish());

  const TRaceState& rs = State();
  std::string stoppedAt;
  if (stopped) {
    timing_.ReadCounter();
    stoppedAt = timing_.FormatRaceTime(timing_.NowCount() - rs.StartCount, rs.UnderOneHour);
  }
  const std::string finishLine = records::ClassificationFinishLine(spanish(), rs.IndividualTiming, stopped, stoppedAt);
  std::vector<std::string> lines;
  std::vector<FinishRow> rows;
  for (const ClassifiedCar& c : session_.Classification()) {
    lines.push_back(records::ClassificationRow(c.position, c.car, c.laps,
                                               timing_.FormatRaceTime(c.total, rs.UnderOneHour),
                                               timing_.FormatSeconds(c.bestLap)));
    rows.push_back({c.position, c.car, c.laps, Millis(c.total), Millis(c.bestLap)});
  }
  const records::IoResult written = recorder_.FinishRace(finishLine, lines);
  const records::RaceId race = RunningRace();

  session_.End();
  texts_.Ended(session_);
  // A resumed race was numbered before this run: the day's next number
  // already lies past it.
  if (!resumed_) session_.SetRaceNumber(rs.RaceNumber + 1);
  resumed_ = false;
  SetNumbering(dayBase_, rs.RaceNumber);
  Changed();
  recorder_.Finished({race, stopped, rows, Millis(timing_.NowCount())});
  Fail(written);
}

void RaceControl::CheckBoxClick(int car, bool ticked) {
  if (State().Running || !IsCar(car)) return;
  const Handling handling(*this);
  setup_.SetParticipates(car, ticked);
  session_.SetParticipates(car, ticked);
  texts_.Participation(car, ticked);
  Count_Partic();
  Changed();
}

void RaceControl::Count_Partic() { texts_.ParticipantCount(session_.CountParticipants()); }

void RaceControl::RadioGroup1Click(int item) {
  if (State().Running) return;
  const Handling handling(*this);
  setup_.ChooseTiming(item);
  session_.SetIndividualTiming(setup_.IndividualTiming());
  texts_.WatchedPanel(setup_.IndividualTiming());
  Changed();
}

void RaceControl::RadioGroup2Click(int item) {
  if (State().Running) return;
  setup_.ChooseDuration(item);
  RadioGroup1Click(setup_.timingItem());
}

void RaceControl::SpinEdit1Change(int minutes) {
  if (State().Running) return;
  setup_.SetSpinMinutes(minutes);
  RadioGroup1Click(setup_.timingItem());
}

void RaceControl::Select(int car) { session_.Select(car); }

void RaceControl::ReadRaceMinutes() { session_.SetRaceMinutes(setup_.ReadRaceMinutes()); }

void RaceControl::ShowRaceMinutes() { texts_.RaceLength(State().RaceMinutes); }

void RaceControl::ToggleLanguage() {
  if (State().Running) return;
  const Handling handling(*this);
  texts_.SetSpanish(!spanish(), session_);
  Changed();
}

}  // namespace race
