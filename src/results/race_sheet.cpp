#include "results/race_sheet.h"

#include <algorithm>
#include <cstdio>

#include "records/browser_model.h"
#include "records/naming.h"

namespace results {

std::string RaceName::Text() const {
  char number[8];
  std::snprintf(number, sizeof number, "%02d", race);
  return day + number;
}

std::optional<RaceName> ParseRaceName(std::string_view text) {
  if (text.size() != 8 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const int race = (text[6] - '0') * 10 + (text[7] - '0');
  if (race == 0) return std::nullopt;
  return RaceName{std::string(text.substr(0, 6)), race};
}

std::vector<int> RaceSheet::Cars() const {
  std::vector<int> cars;
  if (hasClassification) {
    for (const auto& row : classification.rows.items) {
      if (row.car >= 1 && row.car <= 12) cars.push_back(row.car);
    }
  }
  if (cars.empty()) {
    for (const auto& pass : passes) {
      if (pass.car >= 1 && pass.car <= 12) cars.push_back(pass.car);
    }
    std::sort(cars.begin(), cars.end());
  }
  // A hand-edited file may name a car twice; it is one car.
  std::vector<int> unique;
  for (int car : cars) {
    if (std::find(unique.begin(), unique.end(), car) == unique.end()) unique.push_back(car);
  }
  return unique;
}

std::string RaceSheet::Description() const {
  if (hasClassification) return classification.description;
  return racesLine ? racesLine->description : std::string();
}

bool IsCommonTiming(const records::ClassificationFile& file, const std::vector<records::TPaso>& passes) {
  const std::string& finish = file.finishLine;
  if (finish.find("ndividual") != std::string::npos) return false;
  if (finish.find("común") != std::string::npos || finish.find("Common") != std::string::npos) return true;
  return std::none_of(passes.begin(), passes.end(), [](const records::TPaso& p) { return p.lap == 0; });
}

namespace {

enum class Read { Missing, Failed, Ok };

Read ReadEntry(platform::DirectoryLister& lister, const std::string& folder, const std::string& name,
               std::string& bytes) {
  const std::string entry = records::FindEntryIgnoringCase(lister, folder, name);
  if (entry.empty()) return Read::Missing;
  return records::ReadWholeFile(records::JoinPath(folder, entry), bytes) ? Read::Ok : Read::Failed;
}

template <typename Record>
void NoteProblems(const std::string& file, const records::ReadResult<Record>& read, std::vector<std::string>& into) {
  for (const auto& message : read.messages) {
    std::string line = file;
    line += ": ";
    line += message;
    into.push_back(std::move(line));
  }
  if (read.stopped) into.push_back(file + ": only the lines before this one were read");
}

}  // namespace

LoadedRace LoadRace(platform::DirectoryLister& lister, const std::string& folder, const RaceName& name) {
  LoadedRace loaded;
  RaceSheet& sheet = loaded.sheet;
  sheet.name = name;
  bool found = false;
  std::string bytes;
  std::string failed;
  // True when the file is there and was read into bytes. A file that is
  // there but cannot be read fails the load; nothing after it is read.
  auto read = [&](const std::string& file) {
    if (!failed.empty()) return false;
    const Read result = ReadEntry(lister, folder, file, bytes);
    if (result == Read::Failed) failed = file;
    return result == Read::Ok;
  };

  const std::string racesFile = name.day + "00.txt";
  if (read(racesFile)) {
    auto races = records::ReadRaces(bytes);
    NoteProblems(racesFile, races, sheet.problems);
    sheet.dayRaces = std::move(races.items);
    for (const auto& race : sheet.dayRaces) {
      if (race.race == name.race) sheet.racesLine = race;
    }
    found = sheet.racesLine.has_value();
  }
  const std::string cls = records::RaceFileName(name.day, name.race, ".cls");
  if (read(cls)) {
    sheet.classification = records::ReadClassification(bytes);
    sheet.hasClassification = true;
    NoteProblems(cls, sheet.classification.rows, sheet.problems);
    found = true;
  }
  const std::string pss = records::RaceFileName(name.day, name.race, ".pss");
  if (read(pss)) {
    auto passes = records::SacaPSS(bytes);
    NoteProblems(pss, passes, sheet.problems);
    sheet.passes = std::move(passes.items);
    sheet.hasPasses = true;
    found = true;
  }
  const std::string inc = records::RaceFileName(name.day, name.race, ".inc");
  if (read(inc)) {
    auto events = records::ReadEvents(bytes);
    NoteProblems(inc, events, sheet.problems);
    sheet.events = std::move(events.items);
    sheet.hasEvents = true;
    found = true;
  }

  if (!failed.empty()) {
    loaded.failure = LoadFailure::Unreadable;
    loaded.message = failed + " cannot be read";
  } else if (!found) {
    loaded.failure = LoadFailure::NoSuchRace;
    loaded.message = "race " + name.Text() + " is not in the record folder " + folder;
  } else {
    sheet.commonTiming = IsCommonTiming(sheet.classification, sheet.passes);
  }
  return loaded;
}

}  // namespace results
