#pragma once
// The recorder: the race's lines to its record files, each on disk before
// the handler that made it goes on, and the stream of race facts to the
// listeners once their lines are.

#include <string>
#include <vector>

#include "race/race_listener.h"
#include "records/race_files.h"

namespace race {

class RaceRecorder final {
 public:
  explicit RaceRecorder(records::RecordSink& sink) : sink_(sink) {}

  // Listeners are told in the order they were added.
  void AddListener(RaceListener* listener);
  void RemoveListener(RaceListener* listener);

  records::IoResult StartRace(const records::RaceStartRecord& record) { return sink_.StartRace(record); }
  records::IoResult ResumeRace(const std::string& raceBase) { return sink_.ResumeRace(raceBase); }
  // The line of a pass or an event; the listeners hear of it once it is on disk.
  records::IoResult Pass(const PassFact& fact);
  records::IoResult Event(const EventFact& fact);
  // A correction's events line: told as an event, then as a correction.
  records::IoResult Correction(const EventFact& event, const CorrectionFact& fact);
  records::IoResult FinishRace(const std::string& finishLine, const std::vector<std::string>& rows) {
    return sink_.FinishRace(finishLine, rows);
  }

  // Facts whose lines the calls above wrote, or that have none.
  void Started(const StartFact& fact);
  void Ticked(const TickFact& fact);
  void Finished(const FinishFact& fact);

 private:
  template <typename Tell>
  void TellAll(Tell tell);

  records::RecordSink& sink_;
  std::vector<RaceListener*> listeners_;
};

}  // namespace race
