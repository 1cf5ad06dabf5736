#pragma once
// The stream of race facts. Every start, pass, event, clock tick and finish
// of the race is told to an ordered list of listeners (the results window,
// the results page, then whoever joins: the voice, the meeting), in the
// order they were added, once the fact's line is on disk and before the
// key press, click or tick that made it returns. A pass or event whose line
// could not be written is not told. A listener returns at once: one that
// needs time queues its work, so it never delays the next pass.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "race/model.h"
#include "race/setup.h"
#include "records/race_id.h"

namespace race {

// Every fact carries its moment on the race's counter, in milliseconds
// (atMs): the one steady clock of the race, whatever the wall clock does.

// A race started, or went on after a crash (resumed), in its files.
struct StartFact {
  const records::RaceId& race;
  const RaceSetup& setup;
  bool resumed = false;
  std::int64_t atMs = 0;
};

// An accepted pass, its passes line on disk.
struct PassFact {
  const std::string& line;   // as written, without its line end
  int pass = 0;              // its number in the race
  int car = 0;
  int laps = 0;              // the car's laps after it; 0 for the crossing that starts an individual clock
  std::int64_t lapMs = 0;    // the lap it ended, from the car's previous pass or the start
  std::int64_t totalMs = 0;  // the car's race time at it
  int position = 0;          // the car's place after it
  int leader = 0;            // the car first after it
  bool finished = false;     // the pass finished the car
  std::int64_t atMs = 0;     // the crossing
  // The race as it stands after the pass: the standings and every car's laps.
  const TRaceState& state;
  const TCoches& cars;
};

// An events line on disk: an event button, the manual text, a refused
// pass, a car that does not race, a note of the program's own.
struct EventFact {
  const std::string& line;  // as written, without its line end
  int number = 0;
  std::string_view code;    // "RPTJ", "MANU", "ERRO", "TECL" ...
  int car = 0;              // 0 when the line names no car
  std::int64_t atMs = 0;    // the press, crossing or click it is about
};

// A correction of the running race, its events line on disk (told after
// its EventRecorded): a missed crossing added to a car, which re-ranks the
// race as a pass does.
struct CorrectionFact {
  const std::string& line;  // as written, without its line end
  int number = 0;           // its events number
  int car = 0;
  int laps = 0;             // the car's laps after it
  std::int64_t atMs = 0;    // the click that made it
  // The race as it stands after the correction.
  const TRaceState& state;
  const TCoches& cars;
};

// The clock tick, every 222 ms whether a race runs or not.
struct TickFact {
  bool running = false;
  std::int64_t remainingMs = 0;  // of the race time; negative once it is over
  std::int64_t atMs = 0;
};

// The race finished (stopped by the director or by its own end) and its
// classification was written, or its writing failed: the race is over in
// either case.
struct FinishRow {
  int position = 0;
  int car = 0;
  int laps = 0;
  std::int64_t totalMs = 0;    // from the car's own start to its last accepted pass
  std::int64_t bestLapMs = 0;  // 0 when no lap was timed
};
struct FinishFact {
  const records::RaceId& race;
  bool stopped = false;
  const std::vector<FinishRow>& rows;  // in classification order
  std::int64_t atMs = 0;
};

class RaceListener {
 public:
  virtual ~RaceListener() = default;
  virtual void RaceStarted(const StartFact& /*fact*/) {}
  virtual void PassRecorded(const PassFact& /*fact*/) {}
  virtual void EventRecorded(const EventFact& /*fact*/) {}
  virtual void CorrectionRecorded(const CorrectionFact& /*fact*/) {}
  virtual void ClockTicked(const TickFact& /*fact*/) {}
  virtual void RaceFinished(const FinishFact& /*fact*/) {}
};

}  // namespace race
