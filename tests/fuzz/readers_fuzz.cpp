// Fuzz target for the record readers: whatever the bytes, a reader neither
// crashes nor reads out of bounds nor hangs. Built once per reader with
// TRELVIX_FUZZ_READER set to 1 (races), 2 (passes), 3 (classification) or
// 4 (events).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "records/browser_model.h"
#include "records/pass_order.h"
#include "records/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
#if TRELVIX_FUZZ_READER == 1
  for (const auto& race : records::ReadRaces(bytes).items) (void)records::RaceCells(race);
#elif TRELVIX_FUZZ_READER == 2
  auto passes = records::SacaPSS(bytes);
  records::OrderPassesByCar(passes.items);
  for (const auto& pass : passes.items) (void)records::PassCells(pass);
#elif TRELVIX_FUZZ_READER == 3
  const auto file = records::ReadClassification(bytes);
  (void)records::DescriptionValue(file);
  for (const auto& row : file.rows.items) (void)records::ClassificationCells(row);
#elif TRELVIX_FUZZ_READER == 4
  (void)records::ReadEvents(bytes);
#else
#error "TRELVIX_FUZZ_READER must be 1 to 4"
#endif
  return 0;
}
