#include "results/race_sheet.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include "records/browser_model.h"
#include "records/cp1252.h"
#include "records/naming.h"
#include "records/race_files.h"
#include "results/wording.h"
#include "records/cars.h"

namespace results {

std::vector<int> RaceSheet::Cars() const {
  std::vector<int> cars;
  if (hasClassification) {
    for (const auto& row : classification.rows.items) {
      if (records::IsCar(row.car)) cars.push_back(row.car);
    }
  }
  if (cars.empty()) {
    for (const auto& pass : passes) {
      if (records::IsCar(pass.car)) cars.push_back(pass.car);
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

std::string RaceSheet::DriverOf(int car) const {
  const auto it = drivers.find(car);
  return it == drivers.end() ? std::string() : it->second;
}

std::string CarWithDriver(int car, const std::map<int, std::string>& drivers) {
  const auto it = drivers.find(car);
  return it == drivers.end() ? std::string() : std::to_string(car) + " · " + it->second;
}

bool RaceSheet::Unfinished() const { return hasClassification && classification.finishLine.empty(); }

std::vector<std::string> RaceSheet::MissingFiles() const {
  std::vector<std::string> missing;
  if (!hasClassification) missing.push_back(name.FileName(".cls"));
  if (!hasPasses) missing.push_back(name.FileName(".pss"));
  if (!hasEvents) missing.push_back(name.FileName(".inc"));
  return missing;
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
void NoteProblems(const std::string& file, const records::ReadResult<Record>& read, std::vector<RecordProblem>& into) {
  for (std::size_t i = 0; i < read.messages.size(); ++i) {
    const bool stopped = read.stopped && i + 1 == read.messages.size();
    into.push_back({file, stopped ? RecordProblem::Kind::Stopped : RecordProblem::Kind::BadLine, read.messages[i]});
  }
}

// The file's whole lines; a torn last line is noted and left out.
std::string_view WholeLinesOf(const std::string& file, std::string_view bytes, std::vector<RecordProblem>& into) {
  const std::string_view whole = records::WholeLines(bytes);
  if (whole.size() < bytes.size()) {
    std::string_view torn = bytes.substr(whole.size());
    while (!torn.empty() && torn.back() == '\r') torn.remove_suffix(1);
    if (torn.size() > 80) torn = torn.substr(0, 80);
    std::string text = records::Cp1252ToUtf8(torn);
    std::replace(text.begin(), text.end(), '\t', ' ');
    into.push_back({file, RecordProblem::Kind::TornLine, std::move(text)});
  }
  return whole;
}

// "'12x' is not a valid integer value": the field's text and whether a
// whole number was wanted; nothing for any other message.
std::optional<std::pair<std::string, bool>> BadNumber(std::string_view message) {
  static constexpr std::string_view kWhole = "' is not a valid integer value";
  static constexpr std::string_view kReal = "' is not a valid floating point value";
  if (message.empty() || message.front() != '\'') return std::nullopt;
  for (const auto& [ending, whole] : {std::pair{kWhole, true}, std::pair{kReal, false}}) {
    if (message.size() >= ending.size() + 1 && message.ends_with(ending)) {
      return std::pair{std::string(message.substr(1, message.size() - 1 - ending.size())), whole};
    }
  }
  return std::nullopt;
}

// The fields a malformed line of each file should have.
std::string FieldsOf(std::string_view message, bool spanish) {
  struct Fields {
    const char* message;
    Words fields;
  };
  static constexpr Fields kFields[] = {
      {records::kBadRacesLine, {"Cra-Minutos-Coches-Hora-Desc.", "Race-Minutes-Cars-Hour-Desc."}},
      {records::kBadPassesLine, {"Paso-Coche-Vuelta-Tiempo-T. Total", "Pass-Car-Lap-Time-Total t."}},
      {records::kBadClassificationRow, {"Pto-Coche-Vueltas-T. Total-V. ráp.", "Pos-Car-Laps-Total t.-Fast lap"}},
      {records::kBadEventsLine, {"Inc-Coche-Vuelta-T. Total-Tipo(-Detalle)", "Event-Car-Lap-Total t.-Type(-Detail)"}},
  };
  for (const Fields& f : kFields) {
    if (message == f.message) return f.fields.Pick(spanish);
  }
  return std::string(message);
}

}  // namespace

LoadedRace LoadRace(platform::DirectoryLister& lister, const std::string& folder, const records::RaceId& name) {
  LoadedRace loaded;
  loaded.folder = folder;
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

  const std::string racesFile = name.day() + "00.txt";
  if (read(racesFile)) {
    auto races = records::ReadRaces(WholeLinesOf(racesFile, bytes, sheet.problems));
    NoteProblems(racesFile, races, sheet.problems);
    sheet.dayRaces = std::move(races.items);
    for (const auto& race : sheet.dayRaces) {
      if (race.race == name.number()) sheet.racesLine = race;
    }
    found = sheet.racesLine.has_value();
  }
  const std::string cls = name.FileName(".cls");
  if (read(cls)) {
    sheet.classification = records::ReadClassification(WholeLinesOf(cls, bytes, sheet.problems));
    sheet.hasClassification = true;
    NoteProblems(cls, sheet.classification.rows, sheet.problems);
    found = true;
  }
  const std::string pss = name.FileName(".pss");
  if (read(pss)) {
    auto passes = records::SacaPSS(WholeLinesOf(pss, bytes, sheet.problems));
    NoteProblems(pss, passes, sheet.problems);
    sheet.passes = std::move(passes.items);
    sheet.hasPasses = true;
    found = true;
  }
  const std::string inc = name.FileName(".inc");
  if (read(inc)) {
    auto events = records::ReadEvents(WholeLinesOf(inc, bytes, sheet.problems));
    NoteProblems(inc, events, sheet.problems);
    sheet.events = std::move(events.items);
    sheet.hasEvents = true;
    found = true;
  }

  if (!failed.empty()) {
    loaded.failure = LoadFailure::Unreadable;
    loaded.failedFile = failed;
  } else if (!found) {
    loaded.failure = LoadFailure::NoSuchRace;
  } else {
    sheet.commonTiming = IsCommonTiming(sheet.classification, sheet.passes);
    ApplyCorrections(sheet);
  }
  return loaded;
}

void ApplyCorrections(RaceSheet& sheet) {
  // A finished race's classification is the result after its corrections.
  const bool hasCorrections = std::any_of(sheet.events.begin(), sheet.events.end(),
                                          [](const records::TInci& e) { return records::IsCorrectionCode(e.type); });
  if (hasCorrections && sheet.hasClassification && !sheet.Unfinished()) {
    const RaceResult result = ResultOf(sheet);
    if (result.corrected) {
      sheet.classification.rows.items = ClassificationRecords(result);
      sheet.corrected = true;
    }
  }
}

std::vector<CarLaps> LapsOf(const RaceSheet& sheet) {
  return LapsAfter(ResultOf(sheet), sheet.Cars(), sheet.commonTiming);
}

RaceResult ResultOf(const RaceSheet& sheet, bool withCorrections, long long minLapMs) {
  static const std::vector<records::TInci> kNoEvents;
  return ComputeResult({sheet.passes, withCorrections ? sheet.events : kNoEvents, sheet.Cars(), sheet.commonTiming,
                        minLapMs});
}

std::string FailureText(const LoadedRace& loaded, bool spanish) {
  switch (loaded.failure) {
    case LoadFailure::None: return {};
    case LoadFailure::Unreadable: return Filled(words::kUnreadable.Pick(spanish), loaded.failedFile);
    case LoadFailure::NoSuchRace: return Filled(words::kNoSuchRace.Pick(spanish), loaded.sheet.name.Text(), loaded.folder);
  }
  return {};
}

std::string ProblemText(const RecordProblem& problem, bool spanish) {
  std::string text = problem.file + ": ";
  switch (problem.kind) {
    case RecordProblem::Kind::TornLine: return text + Filled(words::kTornLine.Pick(spanish), problem.text);
    case RecordProblem::Kind::BadLine: return text + Filled(words::kBadLine.Pick(spanish), FieldsOf(problem.text, spanish));
    case RecordProblem::Kind::Stopped:
      if (const auto bad = BadNumber(problem.text)) {
        return text + Filled((bad->second ? words::kNotWhole : words::kNotDecimal).Pick(spanish), bad->first);
      }
      return text + problem.text;
  }
  return text;
}

}  // namespace results
