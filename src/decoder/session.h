#pragma once
// One connection to a track gate: turns the bytes the link receives into
// passes on the counter's time base, counts what came in, and keeps a stuck
// sensor from flooding the race.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/clock_map.h"
#include "decoder/protocol.h"

namespace decoder {

// Lines per second of receive time. Legit traffic is about 20 at most: a
// few heartbeats and 12 cars on laps of 3 s or more, each crossing maybe
// doubled by the gate (which debounces 50 ms). 200 leaves room for the
// burst a stalled link delivers at once; beyond it lines are not parsed.
inline constexpr int kMaxLinesPerSecond = 200;
// Passes of one car within any second of their mapped times: a crossing,
// its double trigger and one more. A genuine double trigger still reaches
// the race, which refuses it as too short; a stuck sensor costs at most
// three record writes a second.
inline constexpr int kMaxPassesPerCarPerSecond = 3;
// The flood fault clears after this long without a dropped line or pass.
inline constexpr int kFloodCalmSeconds = 10;

struct GatePass {
  int car = 0;
  std::int64_t count = 0;  // counter count of the crossing
  bool operator==(const GatePass&) const = default;
};

// What came in since the connection began.
struct SessionCounts {
  std::uint64_t lines = 0;  // complete lines, dropped ones included
  std::uint64_t badLines = 0;
  std::uint64_t droppedLines = 0;  // over the line budget: not even parsed
  std::uint64_t hellos = 0;
  std::uint64_t resets = 0;                                // the gate's clock taken up afresh after the first time
  std::uint64_t passes = 0;                                // handed to the race
  std::array<std::uint64_t, kMaxCar + 1> droppedPasses{};  // per car, over its rate
  std::string lastHello;
};

class Session final {
 public:
  // `frequency`: counter ticks per second.
  explicit Session(std::int64_t frequency);

  // Bytes that arrived at counter count `received`; the passes they
  // complete, in order. Work and memory are bounded by the byte count and
  // the limits above, whatever the bytes.
  std::vector<GatePass> Feed(std::string_view bytes, std::int64_t received);
  // A new connection: everything starts over.
  void Reset();

  const SessionCounts& Counts() const noexcept { return counts_; }
  // The count of the car's last pass, delivered or dropped over its rate.
  std::optional<std::int64_t> LastSeen(int car) const noexcept;
  // Ticks since the last line that parsed, the gate's sign of life.
  std::optional<std::int64_t> SinceLastGoodLine(std::int64_t now) const noexcept;
  // Lines or passes were dropped within the calm period before `now`.
  bool Flooded(std::int64_t now) const noexcept;
  const ClockMap& Clock() const noexcept { return clock_; }

 private:
  // The last passes handed over for one car, oldest first.
  struct CarRate {
    std::array<std::int64_t, kMaxPassesPerCarPerSecond> counts{};
    int held = 0;
  };

  bool WithinBudget(std::int64_t received) noexcept;
  void Take(const Line& line, std::int64_t received, std::vector<GatePass>& out);
  void TakePass(const Pass& pass, std::int64_t received, std::vector<GatePass>& out);
  void Stamped(ClockMap::Sync sync) noexcept;
  bool WithinCarRate(int car, std::int64_t count) noexcept;

  std::int64_t frequency_;
  LineSplitter splitter_;
  ClockMap clock_;
  SessionCounts counts_;
  std::array<std::optional<std::int64_t>, kMaxCar + 1> seen_{};
  std::array<CarRate, kMaxCar + 1> rates_{};
  std::optional<std::int64_t> lastGoodLine_;
  std::optional<std::int64_t> lastDrop_;
  std::optional<std::int64_t> budgetStart_;
  int budgetUsed_ = 0;
};

}  // namespace decoder
