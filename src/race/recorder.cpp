#include "race/recorder.h"

#include <algorithm>

namespace race {

void RaceRecorder::AddListener(RaceListener* listener) {
  if (listener != nullptr && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
    listeners_.push_back(listener);
  }
}

void RaceRecorder::RemoveListener(RaceListener* listener) { std::erase(listeners_, listener); }

template <typename Tell>
void RaceRecorder::TellAll(Tell tell) {
  // By index: a listener may leave the list while it is told.
  for (std::size_t i = 0; i < listeners_.size(); ++i) tell(*listeners_[i]);
}

records::IoResult RaceRecorder::Pass(const PassFact& fact) {
  records::IoResult written = sink_.AppendPass(fact.line);
  if (written) TellAll([&fact](RaceListener& l) { l.PassRecorded(fact); });
  return written;
}

records::IoResult RaceRecorder::Event(const EventFact& fact) {
  records::IoResult written = sink_.AppendEvent(fact.line);
  if (written) TellAll([&fact](RaceListener& l) { l.EventRecorded(fact); });
  return written;
}

records::IoResult RaceRecorder::Correction(const EventFact& event, const CorrectionFact& fact) {
  records::IoResult written = Event(event);
  if (written) TellAll([&fact](RaceListener& l) { l.CorrectionRecorded(fact); });
  return written;
}

void RaceRecorder::Started(const StartFact& fact) {
  TellAll([&fact](RaceListener& l) { l.RaceStarted(fact); });
}

void RaceRecorder::Ticked(const TickFact& fact) {
  TellAll([&fact](RaceListener& l) { l.ClockTicked(fact); });
}

void RaceRecorder::Finished(const FinishFact& fact) {
  TellAll([&fact](RaceListener& l) { l.RaceFinished(fact); });
}

}  // namespace race
