#pragma once
// Record-file names: the day's base name, the race numbering of a day and
// the limit of 99 races per day.

#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/directory.h"

namespace records {

inline constexpr int kMaxRacesPerDay = 99;

// The message shown when a day already holds race 99: both languages at once,
// lines separated by carriage returns.
extern const char* const kRaceLimitMessage;

// YYMMDD of a date: 6 December 2026 gives 261206.
std::string DayBase(const platform::LocalDateTime& date);
// The day base followed by the two-digit race number: 26120607.
std::string NextRaceBase(std::string_view dayBase, int raceNumber);
// The day base followed by "00.TXT".
std::string RacesFileName(std::string_view dayBase);

// What start-up finds for the day in the record folder.
struct DayNumbering {
  std::string dayBase;
  int dayFileCount = 0;   // entries named like the day's files
  int highest = 0;        // highest race number found (the races file counts as 0)
  bool limitReached = false;
  int raceNumber = 0;     // next race to run; 0 when the limit was reached
  std::string nextRaceBase;
  std::string racesFileName;
};

// Works out the numbering from the folder's entry names. Names whose
// characters 7 and 8 are not digits count as day files but give no number.
// `highestElsewhere`, the day's highest race number in another folder of the
// program's records, is numbered past too.
DayNumbering NumberDay(const platform::LocalDateTime& date, const std::vector<std::string>& entryNames,
                       int highestElsewhere = 0);

// The numbering lines of the start-up report ("Fecha: ...", the day's files,
// "Base: ", "Siguiente: ", "Índice: "); only the first two when the limit was reached.
std::vector<std::string> NumberingReportLines(const DayNumbering& numbering);

// The actual name of an entry of the folder that equals `name` without regard
// to letter case; empty when there is none. An exact match is preferred.
std::string FindEntryIgnoringCase(platform::DirectoryLister& lister, const std::string& folder,
                                  std::string_view name);

// Joins a folder and a file name.
std::string JoinPath(const std::string& folder, std::string_view name);

}  // namespace records
