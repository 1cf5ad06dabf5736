#pragma once
// One past race as its record files hold it, read with the program's own
// readers: the day's races line, the classification, the passes and the
// events. What could not be read is said, never guessed at.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/directory.h"
#include "records/race_id.h"
#include "records/readers.h"
#include "results/laps.h"
#include "results/race_result.h"

namespace results {

// Something in the record files that was not read as it stands.
struct RecordProblem {
  enum class Kind {
    BadLine,   // a line with the wrong number of fields, read anyway; text: the reader's message
    Stopped,   // a number that does not convert ended the reading; text: the reader's message
    TornLine,  // the last line has no line end (a write cut short) and was left out; text: the line
  };
  std::string file;
  Kind kind = Kind::BadLine;
  std::string text;
};

// "26120601.pss: ..." in the language.
std::string ProblemText(const RecordProblem& problem, bool spanish);

struct RaceSheet {
  records::RaceId name;
  std::vector<records::TRace> dayRaces;  // every race of the day's races file
  std::optional<records::TRace> racesLine;  // this race's line in it
  bool hasClassification = false;
  records::ClassificationFile classification;
  bool hasPasses = false;
  std::vector<records::TPaso> passes;  // in the file's order
  bool hasEvents = false;
  std::vector<records::TInci> events;
  // Every bad line, every file whose reading a bad number ended and every
  // torn last line that was left out; empty when every file read cleanly.
  std::vector<RecordProblem> problems;
  bool commonTiming = true;
  // Corrections among the events changed the result: the classification
  // rows above are the corrected ones, whatever the file still held.
  bool corrected = false;
  // The race ran a club meeting's heat: each seated car's driver, by car
  // number. Filled by whoever knows the meeting, never by LoadRace; empty
  // for any other race, which then reads exactly as it always did.
  std::map<int, std::string> drivers;

  // The cars that took part: the classification's, else those that passed.
  std::vector<int> Cars() const;
  // The description: the classification's first line, else the races line's.
  std::string Description() const;
  // The car's driver; empty when it has none.
  std::string DriverOf(int car) const;
  // The race never finished: its classification holds only its start lines.
  bool Unfinished() const;
  // The names of the race's classification, passes and events files that
  // are not in the folder. A start makes all three, so a race is whole only
  // with all of them.
  std::vector<std::string> MissingFiles() const;
};

// "3 · Ana López": a car and its driver, as the charts' legends and the lap
// table name it; empty for a car without one.
std::string CarWithDriver(int car, const std::map<int, std::string>& drivers);

// The race's result from its passes and events; without the corrections
// when `withCorrections` is false. A lap split by a correction is refused
// when a half would be shorter than `minLapMs`.
RaceResult ResultOf(const RaceSheet& sheet, bool withCorrections = true, long long minLapMs = 0);

// The race's laps after its corrections, for the charts, the page, the
// exports and the JSON: one entry per car of sheet.Cars().
std::vector<CarLaps> LapsOf(const RaceSheet& sheet);

// Puts a finished race's classification rows right when corrections among
// its events changed the result (and sets `corrected`). LoadRace does it;
// whoever reads the files another way calls it too.
void ApplyCorrections(RaceSheet& sheet);

enum class LoadFailure { None, NoSuchRace, Unreadable };

struct LoadedRace {
  LoadFailure failure = LoadFailure::None;
  std::string folder;      // where the race was looked for
  std::string failedFile;  // the file that cannot be read
  RaceSheet sheet;
};

// What went wrong, naming the race or the file, in the language.
std::string FailureText(const LoadedRace& loaded, bool spanish);

// Reads the race's files from the folder, finding each whatever its letter
// case. A race exists when its day lists it or any of its files is there;
// a file that is there but cannot be read fails the whole load. Every line
// the program writes ends with its line end, so a last line without one was
// cut short by a crash or a full disk: it is left out and noted, never read
// with fields made up from the line before.
LoadedRace LoadRace(platform::DirectoryLister& lister, const std::string& folder, const records::RaceId& name);

// Whether the passes were timed from a common start: the finish line says
// so; a race that never finished tells by its passes (under individual
// timing a car's first crossing is lap 0).
bool IsCommonTiming(const records::ClassificationFile& file, const std::vector<records::TPaso>& passes);

}  // namespace results
