// Fuzz target for the gate's protocol and session: whatever bytes a gate
// sends, in whatever pieces, at whatever times, across reconnections, no
// crash, no read out of bounds, no hang, and every pass that comes out is
// a car 1..12 placed no later than its bytes arrived and never before the
// pass ahead of it. Each input is a series of a control byte (the time
// since the last piece, a reconnection, a poll) and up to 64 bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "decoder/session.h"

namespace {

constexpr std::int64_t kFrequency = 1'000'000'000;

void Check(const std::vector<decoder::GatePass>& passes, std::int64_t now, std::int64_t& last) {
  for (const decoder::GatePass& pass : passes) {
    if (pass.car < 1 || pass.car > decoder::kMaxCar || pass.count > now || pass.count < last) __builtin_trap();
    last = pass.count;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  decoder::Session session(kFrequency);
  std::int64_t now = 5'000 * kFrequency;
  std::int64_t last = 0;
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t control = data[i++];
    now += (control & 0x0F) * 37 * kFrequency / 1000;  // 0..555 ms
    if ((control & 0x10) != 0) session.Reconnected();
    const std::size_t n = std::min<std::size_t>(size - i, 1 + (control >> 5) * 9);
    Check(session.Feed(std::string_view(reinterpret_cast<const char*>(data + i), n), now), now, last);
    i += n;
    if (control == 0xFF) {
      now += 6 * kFrequency;
      Check(session.Poll(now), now, last);
    }
  }
  Check(session.Flush(), now, last);
  const decoder::SessionCounts& counts = session.Counts();
  if (counts.badLines + counts.droppedLines > counts.lines) __builtin_trap();
  return 0;
}
