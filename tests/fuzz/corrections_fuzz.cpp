// Fuzz target for corrections: bytes up to the first NUL are a passes file,
// the rest an events file full of correction lines. Neither the events
// reader nor the result function crashes, and no car ever ends with a
// negative lap count.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "records/corrections.h"
#include "records/readers.h"
#include "results/race_result.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t split = bytes.find('\0');
  const std::string_view passesBytes = split == std::string_view::npos ? std::string_view() : bytes.substr(0, split);
  const std::string_view eventsBytes = split == std::string_view::npos ? bytes : bytes.substr(split + 1);
  const auto passes = records::SacaPSS(passesBytes);
  const auto events = records::ReadEvents(eventsBytes);
  for (const auto& e : events.items) (void)records::ParseCorrection(e);
  for (const bool common : {true, false}) {
    const results::RaceInput input{passes.items, events.items, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, common,
                                   size % 2 == 0 ? 0 : 3000};
    const results::RaceResult result = results::ComputeResult(input);
    for (const auto& row : result.rows) {
      if (row.laps < 0 || row.totalMs < 0 || row.bestLapMs < 0) std::abort();
      (void)results::SuggestedDoubleLaps(row);
    }
    (void)results::ClassificationRows(result);
  }
  return 0;
}
