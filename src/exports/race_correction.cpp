#include "exports/race_correction.h"

#include <algorithm>

#include "exports/staged_files.h"
#include "records/durable_file.h"
#include "records/lines.h"
#include "records/naming.h"
#include "records/words.h"
#include "records/race_files.h"
#include "results/race_sheet.h"

namespace exports {
namespace {

using records::Words;
constexpr Words kRecorded{"Corrección anotada: %1", "Correction recorded: %1"};
constexpr Words kUnfinished{"La carrera no ha terminado: se está cronometrando o espera continuar. No se corrige.",
                            "The race has not finished: it is being timed or waits to go on. Not corrected."};
constexpr Words kFailed{"No se pudo anotar la corrección: %1", "The correction could not be recorded: %1"};

CorrectionOutcome Failed(std::string error) {
  CorrectionOutcome out;
  out.kind = CorrectionOutcome::Kind::kFailed;
  out.error = std::move(error);
  return out;
}

// The classification's three header lines as they are on disk.
std::string HeaderBytes(std::string_view bytes) {
  std::size_t end = 0;
  for (int line = 0; line < 3; ++line) {
    const std::size_t lf = bytes.find('\n', end);
    if (lf == std::string_view::npos) return std::string(bytes) + (bytes.ends_with("\n") ? "" : "\r\n");
    end = lf + 1;
  }
  return std::string(bytes.substr(0, end));
}

}  // namespace

CorrectionOutcome RecordCorrection(platform::DirectoryLister& lister, const std::string& folder,
                                   const records::RaceId& race, records::Correction correction, long long minLapMs) {
  results::LoadedRace loaded = results::LoadRace(lister, folder, race);
  if (loaded.failure != results::LoadFailure::None) return Failed(results::FailureText(loaded, false));
  const results::RaceSheet& sheet = loaded.sheet;
  if (!sheet.hasClassification || sheet.Unfinished()) {
    CorrectionOutcome out;
    out.kind = CorrectionOutcome::Kind::kUnfinished;
    return out;
  }
  const std::vector<int> cars = sheet.Cars();
  const results::RaceInput input{sheet.passes, sheet.events, cars, sheet.commonTiming, minLapMs};
  if (const results::Refusal refusal = results::Check(input, correction); refusal != results::Refusal::None) {
    CorrectionOutcome out;
    out.kind = CorrectionOutcome::Kind::kRefused;
    out.refusal = refusal;
    return out;
  }
  int last = 0;
  for (const auto& e : sheet.events) last = std::max<int>(last, e.number);
  correction.number = last + 1;
  // The race time it is made at: the race's last crossing.
  long long lastMs = 0;
  for (const auto& row : results::ResultOf(sheet).rows) {
    if (!row.crossings.empty()) lastMs = std::max(lastMs, row.crossings.back().atMs);
  }
  const std::string line = records::CorrectionLine(correction, records::SecondsText(lastMs));

  const std::string found = records::FindEntryIgnoringCase(lister, folder, race.FileName(".inc"));
  const std::string inc = records::JoinPath(folder, found.empty() ? race.FileName(".inc") : found);
  if (auto r = records::DropTornLastLine(inc); !r) return Failed(r.error);
  records::DurableFile events;
  if (auto r = events.OpenAppend(inc); !r) return Failed(r.error);
  if (auto r = events.Append(records::EncodeLine(line)); !r) return Failed(r.error);
  if (auto r = events.Close(); !r) return Failed(r.error);
  // A file the correction made must stay in its folder.
  if (found.empty()) {
    if (auto r = records::SyncFolder(folder); !r) return Failed(r.error);
  }

  // The classification again, from the lines as they now are.
  results::LoadedRace after = results::LoadRace(lister, folder, race);
  if (after.failure != results::LoadFailure::None) return Failed(results::FailureText(after, false));
  const std::string clsName = records::FindEntryIgnoringCase(lister, folder, race.FileName(".cls"));
  std::string bytes;
  if (!records::ReadWholeFile(records::JoinPath(folder, clsName), bytes)) return Failed(clsName);
  std::string written = HeaderBytes(bytes);
  for (const std::string& row : results::ClassificationRows(results::ResultOf(after.sheet))) {
    written += records::EncodeLine(row);
  }
  StagedFiles staged(folder);
  if (!staged.Add(clsName, written) || !staged.Commit()) return Failed(staged.FailedName() + ": " + staged.SystemError());
  CorrectionOutcome out;
  out.kind = CorrectionOutcome::Kind::kRecorded;
  out.line = line;
  return out;
}

std::string OutcomeText(const CorrectionOutcome& outcome, bool spanish) {
  switch (outcome.kind) {
    case CorrectionOutcome::Kind::kRecorded: return records::Filled(kRecorded.Pick(spanish), outcome.line);
    case CorrectionOutcome::Kind::kRefused: return results::RefusalText(outcome.refusal, spanish);
    case CorrectionOutcome::Kind::kUnfinished: return kUnfinished.Pick(spanish);
    case CorrectionOutcome::Kind::kFailed: return records::Filled(kFailed.Pick(spanish), outcome.error);
  }
  return {};
}

}  // namespace exports
