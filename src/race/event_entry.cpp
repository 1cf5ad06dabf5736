// Race events entered with the event buttons and the manual text.
#include "race/race_control.h"
#include "records/lines.h"

namespace race {

void RaceControl::IncSacaInci() {
  ++RaceState.EventCount;
  screen_.eventCount = std::to_string(RaceState.EventCount);
}

bool RaceControl::WriteEvent(const std::string& line) {
  const records::IoResult r = records_.AppendEvent(line);
  Fail(r);
  return r.ok;
}

bool RaceControl::PrintInci(int car, const char* code) {
  const std::int64_t now = timing_.ReadCounter();
  const TCoche& c = Coches[car];
  return WriteEvent(
      records::EventLine(RaceState.EventCount, car, c.Laps, timing_.FormatSeconds(now - c.StartTime), code));
}

void RaceControl::EventButton(events::EventKind kind, int car) {
  if (!RaceState.Running || car < 1 || car > kCars) return;
  const TCoche& c = Coches[car];
  if (!c.Participates || c.State == TCarState::csFinished) return;
  IncSacaInci();
  if (PrintInci(car, events::TypeOf(kind).code)) screen_.message = events::EventMessage(kind, car, Spanish);
  Changed();
}

bool RaceControl::ManualEvent(const std::string& text) {
  if (!RaceState.Running || text.empty()) return false;
  IncSacaInci();
  const std::int64_t now = timing_.ReadCounter();
  const std::string line =
      records::ManualEventLine(RaceState.EventCount, timing_.FormatSeconds(now - RaceState.StartCount), text);
  // The memo keeps the text when its line could not be written.
  const bool written = WriteEvent(line);
  if (written) screen_.message = std::to_string(RaceState.EventCount) + " manual";
  Changed();
  return written;
}

}  // namespace race
