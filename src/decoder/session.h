#pragma once
// One gate, over as many connections as its link takes: turns the bytes the
// link receives into passes on the counter's time base, counts what came
// in, and keeps a stuck sensor from flooding the race.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/clock_map.h"
#include "decoder/protocol.h"

namespace decoder {

// Heartbeats and hellos per second of receive time. Legit traffic is a few
// heartbeats; 200 leaves room for the burst a stalled link delivers at once.
// Beyond it they are dropped: they only feed the clock map. Bad lines have a
// budget of their own, which only tells a flood from a loose wire; passes
// have none.
inline constexpr int kMaxLinesPerSecond = 200;
// Passes of one car within any second of their mapped times: a crossing,
// its double trigger and one more. A genuine double trigger still reaches
// the race, which refuses it as too short; a stuck sensor costs at most
// three record writes a second.
inline constexpr int kMaxPassesPerCarPerSecond = 3;
// The flood fault clears after this long without a dropped line or pass.
inline constexpr int kFloodCalmSeconds = 10;
// After the gate restarted, passes wait while the new offset is anchored,
// and never longer than this: they are placed by their stamps, so waiting
// costs them nothing, and being placed on a few seconds of lines rather
// than at their arrival saves a lap tens of milliseconds.
inline constexpr int kMaxHoldSeconds = 5;

struct GatePass {
  int car = 0;
  std::int64_t count = 0;  // counter count of the crossing
  // Timed with less accuracy than normal: the clock map was not settled
  // when it was placed (the gate was just connected, or restarted and its
  // new offset not yet anchored), or the car's previous pass was placed
  // before the map settled or before its offset jumped (the gate's clock
  // started over, or the map was found running late). The lap this pass
  // ends is not good to the map's millisecond.
  bool approximate = false;
  bool operator==(const GatePass&) const = default;
};

// What came in since the gate was chosen.
struct SessionCounts {
  std::uint64_t lines = 0;  // complete lines, bad and dropped ones included
  std::uint64_t badLines = 0;
  std::uint64_t droppedLines = 0;  // heartbeats and hellos over the budget
  std::uint64_t hellos = 0;
  std::uint64_t resets = 0;                                // the gate's clock started over
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
  // Passes that waited their longest by counter count `now`.
  std::vector<GatePass> Poll(std::int64_t now);
  // Every pass still waiting, placed as well as it can be now: the link
  // goes for good.
  std::vector<GatePass> Flush();
  // The link was opened again: the unfinished line is gone, and the gate's
  // clock is checked against the map at its next heartbeat.
  void Reconnected() noexcept;
  // Another gate: everything starts over.
  void Reset();

  const SessionCounts& Counts() const noexcept { return counts_; }
  // The count of the car's last pass, delivered or dropped over its rate.
  std::optional<std::int64_t> LastSeen(int car) const noexcept;
  // Ticks since the last line that parsed, the gate's sign of life, on
  // this connection.
  std::optional<std::int64_t> SinceLastGoodLine(std::int64_t now) const noexcept;
  // Lines or passes were dropped, or bad lines flooded in, within the calm
  // period before `now`.
  bool Flooded(std::int64_t now) const noexcept;
  const ClockMap& Clock() const noexcept { return clock_; }

 private:
  // The last passes handed over for one car, oldest first.
  struct CarRate {
    std::array<std::int64_t, kMaxPassesPerCarPerSecond> counts{};
    int held = 0;
  };
  // How a car's last pass was placed.
  struct CarPlacing {
    bool any = false;
    bool settled = false;
    std::uint64_t epoch = 0;
  };
  struct Budget {
    std::optional<std::int64_t> start;
    int used = 0;
  };
  struct Waiting {
    int car = 0;
    ClockMap::Stamp stamp;
    std::int64_t received = 0;
  };

  bool WithinBudget(Budget& budget, std::int64_t received) const noexcept;
  void Take(const Line& line, std::int64_t received, std::vector<GatePass>& out);
  void TakePass(const Pass& pass, std::int64_t received, std::vector<GatePass>& out);
  ClockMap::Stamp Sample(std::uint64_t micros, std::int64_t received, ClockMap::Kind kind, std::vector<GatePass>& out);
  void Deliver(int car, const ClockMap::Stamp& stamp, std::int64_t received, std::vector<GatePass>& out);
  void Release(std::size_t n, std::vector<GatePass>& out);
  bool WithinCarRate(int car, std::int64_t count) noexcept;

  std::int64_t frequency_;
  LineSplitter splitter_;
  ClockMap clock_;
  SessionCounts counts_;
  std::array<std::optional<std::int64_t>, kMaxCar + 1> seen_{};
  std::array<CarRate, kMaxCar + 1> rates_{};
  std::array<CarPlacing, kMaxCar + 1> placed_{};
  std::vector<Waiting> waiting_;  // at most three a second per car, for kMaxHoldSeconds
  std::optional<std::int64_t> lastGoodLine_;
  std::optional<std::int64_t> lastDrop_;
  Budget lineBudget_;
  Budget badBudget_;
};

}  // namespace decoder
