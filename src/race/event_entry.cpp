// Race events entered with the event buttons and the manual text.
#include "race/race_control.h"
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

}  // namespace race
