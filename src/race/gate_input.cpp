// Passes from the track gate, with the keys as its backup: the gate's
// crossing wins over a key press for the same crossing, and a key counts
// when the gate missed the car.
#include "race/race_control.h"
#include "race/texts.h"
#include "records/lines.h"

namespace race {

bool RaceControl::GateCrossed(int n, std::int64_t when, bool approximate) {
  if (!State().Running || !IsCar(n)) return false;
  const Handling handling(*this);
  if (when < State().StartCount) return true;
  if (!Cars()[static_cast<std::size_t>(n)].Participates) {
    NotRacing(n, when);
    return true;
  }
  gateKeys_.Saw(n, when);
  // Held keys of the car from before this crossing stand for crossings the
  // gate missed: they count first, in press order.
  DeliverKeys(gateKeys_.TakeBefore(n, when - gateKeys_.window()));
  const std::vector<HeldKey> replaced = gateKeys_.TakeNear(n, when);
  if (ProcessPass(n, when) && approximate) {
    WriteNote(n, when, events::kApproximateCode, words::kApproximateDetail.Pick(spanish()), words::kApproximate);
  }
  const std::string gateTime = timing_.FormatSeconds(when - State().StartCount);
  for (const HeldKey& key : replaced) {
    WriteNote(n, key.pressed, events::kKeyReplacedCode, KeyReplacedDetail(n, gateTime, spanish()), words::kGate);
  }
  return true;
}

void RaceControl::SetGateConnected(bool connected) {
  const Handling handling(*this);
  gateKeys_.SetConnected(connected);
  // Nothing will come for the held keys of a gate that went away.
  if (!connected) DeliverKeys(gateKeys_.TakeAll());
}

void RaceControl::ReleaseHeldKeys() {
  if (!gateKeys_.NextRelease()) return;
  const Handling handling(*this);
  DeliverKeys(gateKeys_.TakeDue(timing_.ReadCounter()));
}

void RaceControl::DeliverKeys(const std::vector<HeldKey>& keys) {
  // Each still timed at its press.
  for (const HeldKey& key : keys) ProcessPass(key.car, key.pressed);
}

void RaceControl::WriteNote(int n, std::int64_t when, const char* code, const std::string& detail,
                            const Words& message) {
  IncSacaInci();
  const int k = State().EventCount;
  const std::string line =
      records::NoteEventLine(k, n, timing_.FormatSeconds(when - State().StartCount), code, detail);
  if (WriteEvent(line, code, n, when)) texts_.Message(GateNoteMessage(k, n, message, spanish()));
}

}  // namespace race
