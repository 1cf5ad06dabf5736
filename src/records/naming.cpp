#include "records/naming.h"

#include "records/race_id.h"
#include "records/run_journal.h"

#include <algorithm>
#include <cstdio>

namespace records {

const char* const kRaceLimitMessage =
    "Se alcanzó el máximo de carreras para la fecha.\r"
    "Borra las últimas, o mueve todas a otro directorio.\r"
    "Si generas muchos ficheros y tienes cluster gordo,\r"
    "  te vas a comer el disco.\r"
    "Maximum number of races for today has been reached.\r"
    "Delete last ones, or move all to other directory.\r"
    "If you generate too many files and have a big cluster size,\r"
    " you are going to eat your disk.";

std::string DayBase(const platform::LocalDateTime& date) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d", ((date.year % 100) + 100) % 100, date.month % 100,
                date.day % 100);
  return buf;
}

std::string NextRaceBase(std::string_view dayBase, int raceNumber) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", raceNumber);
  return std::string(dayBase) + buf;
}

std::string RacesFileName(std::string_view dayBase) { return std::string(dayBase) + "00.TXT"; }

DayNumbering NumberDay(const platform::LocalDateTime& date, const std::vector<std::string>& entryNames,
                       int highestElsewhere) {
  DayNumbering n;
  n.dayBase = DayBase(date);
  const std::string pattern = n.dayBase + "??.*";
  for (const auto& name : entryNames) {
    // A race's journal is no record file of the day.
    if (!platform::WildcardMatch(pattern, name) || IsRunJournalName(name)) continue;
    ++n.dayFileCount;
    if (const auto race = RaceId::OfFileName(name)) n.highest = std::max(n.highest, race->number());
  }
  n.highest = std::max(n.highest, highestElsewhere);
  n.limitReached = n.highest >= kMaxRacesPerDay;
  if (!n.limitReached) {
    n.raceNumber = n.highest + 1;
    n.nextRaceBase = NextRaceBase(n.dayBase, n.raceNumber);
    n.racesFileName = RacesFileName(n.dayBase);
  }
  return n;
}

std::vector<std::string> NumberingReportLines(const DayNumbering& n) {
  std::vector<std::string> lines;
  lines.push_back("Fecha: " + n.dayBase);
  if (n.dayFileCount == 0) {
    lines.emplace_back("No hallo ficheros de hoy");
  } else {
    lines.push_back(std::to_string(n.dayFileCount) + " fichero(s) de hoy");
  }
  if (n.limitReached) return lines;
  char two[8];
  std::snprintf(two, sizeof two, "%02d", n.raceNumber);
  lines.push_back("Base: " + n.dayBase);
  lines.push_back(std::string("Siguiente: ") + two);
  lines.push_back("Índice: " + n.racesFileName);
  return lines;
}

std::string FindEntryIgnoringCase(platform::DirectoryLister& lister, const std::string& folder,
                                  std::string_view name) {
  std::string found;
  for (auto& entry : lister.List(folder)) {
    if (entry == name) return entry;
    if (found.empty() && entry.size() == name.size() && platform::WildcardMatch(name, entry) &&
        name.find_first_of("*?") == std::string_view::npos) {
      found = std::move(entry);
    }
  }
  return found;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  if (folder.back() == '/') return folder + std::string(name);
  return folder + "/" + std::string(name);
}

}  // namespace records
