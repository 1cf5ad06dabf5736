#pragma once
// A correction of a finished race, made after it: its events line appended
// durably to the race's events file, then the classification file written
// again from the passes and the events, under a temporary name and renamed
// over the old one, the folder synced. The passes file is never touched.

#include <string>

#include "platform/directory.h"
#include "records/corrections.h"
#include "records/race_id.h"
#include "results/race_result.h"

namespace exports {

struct CorrectionOutcome {
  enum class Kind { kRecorded, kRefused, kUnfinished, kFailed };
  Kind kind = Kind::kFailed;
  results::Refusal refusal = results::Refusal::None;  // kRefused
  std::string line;   // kRecorded: the events line written
  std::string error;  // kFailed: what could not be read or written
  bool ok() const noexcept { return kind == Kind::kRecorded; }
};

// Records the correction (its number is the race's next event number) of
// the race in the folder. A race that has not finished is being timed, or
// waits to go on after a crash: it is refused (kUnfinished). A split lap
// is refused when a half would be shorter than `minLapMs`.
CorrectionOutcome RecordCorrection(platform::DirectoryLister& lister, const std::string& folder,
                                   const records::RaceId& race, records::Correction correction, long long minLapMs);

// The outcome in the director's words.
std::string OutcomeText(const CorrectionOutcome& outcome, bool spanish);

}  // namespace exports
