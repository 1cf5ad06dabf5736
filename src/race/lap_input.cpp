// Lap input: a function key press becomes a pass of its car.
#include "race/race_control.h"
#include "race/texts.h"
#include "records/lines.h"

namespace race {

bool RaceControl::FormKeyDown(int virtualKey) {
  if (!State().Running || virtualKey < kVkF1 || virtualKey > kVkF12) return false;
  return CarCrossed(virtualKey - (kVkF1 - 1), timing_.ReadCounter());
}

bool RaceControl::FormKeyDown(int virtualKey, std::int64_t when) {
  if (!State().Running || virtualKey < kVkF1 || virtualKey > kVkF12) return false;
  return CarCrossed(virtualKey - (kVkF1 - 1), when);
}

bool RaceControl::CarCrossed(int n, std::int64_t when) {
  if (!State().Running || !IsCar(n)) return false;
  const Handling handling(*this);
  // A press made before the start belongs to no race.
  if (when < State().StartCount) return true;
  const TCoche& c = Cars()[static_cast<std::size_t>(n)];
  if (!c.Participates) {
    NotRacing(n, when);
    return true;
  }
  if (c.State == TCarState::csFinished) return true;
  // The gate has timed this crossing already: the key is a note of it.
  if (const auto crossing = gateKeys_.CrossingNear(n, when)) {
    WriteNote(n, when, events::kKeyReplacedCode,
              KeyReplacedDetail(n, timing_.FormatSeconds(*crossing - State().StartCount), spanish()), words::kGate);
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
  const int k = State().EventCount;
  const std::string line =
      records::ErrorEventLine(k, n, timing_.FormatSeconds(now - State().StartCount), events::kNotRacingCode);
  // The line first: a line that could not be written stops here, with the
  // system's words shown instead of the message.
  if (WriteEvent(line, events::kNotRacingCode, n, now)) {
    texts_.Message(EventMessageOf(words::kNotRacing, k, n, spanish()));
    cues_.Beep();
  }
}

bool RaceControl::ProcessPass(int n, std::int64_t when) {
  if (!State().Running || !IsCar(n)) return false;
  const Handling handling(*this);
  // The time is taken once, first: the moment of the crossing, whatever the
  // rest of the pass costs.
  const std::int64_t now = timing_.TakeCount(when);
  const PassOutcome pass = session_.Crossing(n, now);
  switch (pass.kind) {
    case PassOutcome::Kind::kIgnored:
      return false;
    case PassOutcome::Kind::kTooLate:
      texts_.CarFinished(n, session_);
      Changed();
      return false;
    case PassOutcome::Kind::kTooShort: {
      IncSacaInci();
      const int k = State().EventCount;
      const std::string line =
          records::ErrorEventLine(k, n, timing_.FormatSeconds(now - State().StartCount), events::kTooShortCode);
      if (WriteEvent(line, events::kTooShortCode, n, now)) {
        texts_.Message(EventMessageOf(words::kTooShort, k, n, spanish()));
        cues_.Beep();
      }
      return false;
    }
    case PassOutcome::Kind::kAccepted:
      break;
  }
  const TRaceState& rs = State();
  const TCoche& c = Cars()[static_cast<std::size_t>(n)];
  const std::string lapText = timing_.FormatSeconds(pass.lap);
  const std::string totalText = timing_.FormatRaceTime(pass.total, rs.UnderOneHour);
  texts_.Pass(n, pass, lapText, totalText, session_);
  Changed();

  cues_.LapCue(n, rs.SoundOn, spanish());
  if (pass.finishing) cues_.FinishCue(rs.SoundOn, spanish());
  const std::string line = records::PassLine(rs.PassCount, n, c.Laps, lapText, totalText);
  Fail(recorder_.Pass({line, rs.PassCount, n, c.Laps, Millis(pass.lap), Millis(pass.total), session_.PositionOf(n),
                       session_.Leader(), pass.finishing, Millis(now), rs, Cars()}));
  return true;
}

}  // namespace race
