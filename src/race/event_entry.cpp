// Race events entered with the event buttons and the manual text.
#include "race/race_control.h"
#include "records/corrections.h"
#include "race/texts.h"
#include "records/lines.h"

namespace race {

void RaceControl::IncSacaInci() {
  texts_.EventCount(session_.NewEvent());
  Changed();
}

bool RaceControl::WriteEvent(const std::string& line, std::string_view code, int car, std::int64_t at) {
  const records::IoResult r = recorder_.Event({line, State().EventCount, code, car, Millis(at)});
  Fail(r);
  return r.ok;
}

bool RaceControl::PrintInci(int car, const char* code) {
  const std::int64_t now = timing_.ReadCounter();
  const TCoche& c = Cars()[static_cast<std::size_t>(car)];
  const std::string line =
      records::EventLine(State().EventCount, car, c.Laps, timing_.FormatSeconds(now - c.StartTime), code);
  return WriteEvent(line, code, car, now);
}

void RaceControl::EventButton(events::EventKind kind, int car) {
  if (!State().Running || !IsCar(car)) return;
  const TCoche& c = Cars()[static_cast<std::size_t>(car)];
  if (!c.Participates || c.State == TCarState::csFinished) return;
  const Handling handling(*this);
  IncSacaInci();
  if (PrintInci(car, events::TypeOf(kind).code)) texts_.Message(events::EventMessage(kind, car, spanish()));
}

bool RaceControl::ManualEvent(const std::string& text) {
  if (!State().Running || text.empty()) return false;
  const Handling handling(*this);
  IncSacaInci();
  const int k = State().EventCount;
  const std::int64_t now = timing_.ReadCounter();
  const std::string line = records::ManualEventLine(k, timing_.FormatSeconds(now - State().StartCount), text);
  // The memo keeps the text when its line could not be written.
  const bool written = WriteEvent(line, events::kManualCode, 0, now);
  if (written) texts_.Message(EventMessageOf(words::kManual, k, 0, spanish()));
  return written;
}

bool RaceControl::AddMissedLap(int car) {
  if (!State().Running || !IsCar(car)) return false;
  const Handling handling(*this);
  const std::int64_t now = timing_.ReadCounter();
  const int pass = session_.LastPassOf(car);
  switch (session_.AddMissedLap(car)) {
    case RaceSession::AddLapOutcome::kAdded: break;
    case RaceSession::AddLapOutcome::kNoLap:
      texts_.Message(EventMessageOf(words::kNoLapToSplit, State().EventCount, car, spanish()));
      Changed();
      return false;
    case RaceSession::AddLapOutcome::kTooShort:
      texts_.Message(EventMessageOf(words::kHalvesTooShort, State().EventCount, car, spanish()));
      Changed();
      return false;
  }
  const TCoche& c = Cars()[static_cast<std::size_t>(car)];
  texts_.LapAdded(car, timing_.FormatSeconds(c.BestLap), session_);
  Changed();
  IncSacaInci();
  records::Correction correction;
  correction.kind = records::Correction::Kind::AddLap;
  correction.number = State().EventCount;
  correction.car = car;
  correction.pass = pass;
  correction.reason = words::kMissedCrossingReason.Pick(spanish());
  const std::string line =
      records::CorrectionLine(correction, timing_.FormatSeconds(now - State().StartCount));
  const records::IoResult r =
      recorder_.Correction({line, State().EventCount, records::kLapCorrectionCode, car, Millis(now)},
                           {line, State().EventCount, car, c.Laps, Millis(now), State(), Cars()});
  Fail(r);
  if (r) texts_.Message(EventMessageOf(words::kLapAdded, State().EventCount, car, spanish()));
  return r.ok;
}

}  // namespace race
