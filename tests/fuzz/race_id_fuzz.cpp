// Fuzz target for race names: whatever the text, RaceId takes only what it
// can write back exactly, and a name it takes names the same race again
// through its files.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "records/race_id.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto id = records::RaceId::Parse(text)) {
    if (id->Text() != text || id->number() < 1 || id->number() > 99 || !records::IsDayStem(id->day())) std::abort();
    if (records::RaceId::OfFileName(id->FileName(".pss")) != id) std::abort();
    if (records::RaceId::Of(id->day(), id->number()) != id) std::abort();
  }
  if (const auto id = records::RaceId::OfFileName(text)) {
    if (text.substr(0, 8) != id->Text() || text[8] != '.') std::abort();
  }
  return 0;
}
