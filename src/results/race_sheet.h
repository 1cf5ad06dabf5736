#pragma once
// One past race as its record files hold it, read with the program's own
// readers: the day's races line, the classification, the passes and the
// events. What could not be read is said, never guessed at.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/directory.h"
#include "records/readers.h"

namespace results {

// "26120601": the day's six digits and the race number 01..99.
struct RaceName {
  std::string day;
  int race = 0;
  std::string Text() const;
};
std::optional<RaceName> ParseRaceName(std::string_view text);

struct RaceSheet {
  RaceName name;
  std::vector<records::TRace> dayRaces;  // every race of the day's races file
  std::optional<records::TRace> racesLine;  // this race's line in it
  bool hasClassification = false;
  records::ClassificationFile classification;
  bool hasPasses = false;
  std::vector<records::TPaso> passes;  // in the file's order
  bool hasEvents = false;
  std::vector<records::TInci> events;
  // "26120601.pss: Algo raro: ..." for every bad line, and for a file whose
  // reading a bad number ended; empty when every file read cleanly.
  std::vector<std::string> problems;
  bool commonTiming = true;

  // The cars that took part: the classification's, else those that passed.
  std::vector<int> Cars() const;
  // The description: the classification's first line, else the races line's.
  std::string Description() const;
};

enum class LoadFailure { None, NoSuchRace, Unreadable };

struct LoadedRace {
  LoadFailure failure = LoadFailure::None;
  std::string message;  // what went wrong, naming the file
  RaceSheet sheet;
};

// Reads the race's files from the folder, finding each whatever its letter
// case. A race exists when its day lists it or any of its files is there;
// a file that is there but cannot be read fails the whole load.
LoadedRace LoadRace(platform::DirectoryLister& lister, const std::string& folder, const RaceName& name);

// Whether the passes were timed from a common start: the finish line says
// so; a race that never finished tells by its passes (under individual
// timing a car's first crossing is lap 0).
bool IsCommonTiming(const records::ClassificationFile& file, const std::vector<records::TPaso>& passes);

}  // namespace results
