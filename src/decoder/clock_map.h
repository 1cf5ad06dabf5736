#pragma once
// Maps the gate's microseconds onto the performance counter's ticks, from
// the receive times of the lines that carry them.
//
// Every line is a point (gate time, receive time) above the true line by its
// delay. The map follows the lower envelope of the last half hour of points:
// its rate is the lower hull's slope around the mean gate time (Moon, Skelly
// and Towsley's estimate, averaged over the middle of the window), its
// offset the lowest line of that rate. Until enough lines came it steps to
// every better estimate; then it slews at most 8 ppm, so that a lap's time
// never jumps, and steps only when it runs over 10 ms late.
//
// Reached over 200 seeded three-hour races per case (tests/decoder/
// clock_sweep: 12 cars, laps of 5..60 s, every line 0..200 ms late, the
// crystal 100 ppm fast or slow, heartbeats only during the warm-up):
//   heartbeats 1/s, warm-up 10 min: laps within 0.93 ms; absolute error
//     within 5.5 ms, within 3.7 ms from half an hour on;
//   heartbeats 4/s, warm-up 5 min: laps within 0.79 ms; absolute within
//     5.1 ms, 2.9 ms from half an hour on.
// Shorter warm-ups miss: 9.5 min at 1/s (4 races of 200 have a lap over
// 1 ms), 4.75 min at 4/s (1 of 200). The map runs about 2.5 ms early on
// purpose: a late map would pull prompt passes back to their receive times.
//
// The map outlives the link: after a hello or a new connection the next
// heartbeat is checked against it, and a gate whose clock went on is simply
// followed. A clock that wrapped at 2^32 is unwrapped. A gate that really
// restarted gets a new origin; its crystal's rate, once measured, is kept,
// and the new offset is anchored on a few seconds of lines before the map
// counts as settled again. An anchored offset starts early by a bound on
// what the lines still to come can improve it (most of it is left after ten
// lines 300 ms late at random) and slews back, so that a lap on the new
// origin never takes the improvement as a step.

#include <cstdint>
#include <deque>
#include <vector>

namespace decoder {

class ClockMap final {
 public:
  // How a line relates to the map.
  enum class Sync {
    kTracked,    // on the running estimate
    kFirstLine,  // first line since construction or Reset()
    kUnwrapped,  // the gate's clock wrapped at 2^32 and is followed on
    kReset,      // the gate's clock started over: it went back, jumped ahead,
                 // or a heartbeat after a hello does not fit the map
  };
  // Whether a line's stamp was taken as the line left the gate.
  enum class Kind { kHeartbeat, kPass };
  struct Stamp {
    std::uint64_t micros = 0;  // the gate's time, unwrapped
    Sync sync = Sync::kTracked;
    std::uint64_t origin = 0;  // the origin the stamp is placed from
    bool wide = false;         // the gate's own stamp did not fit in 32 bits
  };

  // `frequency`: counter ticks per second.
  explicit ClockMap(std::int64_t frequency) noexcept;

  // How a line stamped `micros` that arrived at counter count `received`
  // fits the map; nothing changes until it is added.
  Stamp Judge(std::uint64_t micros, std::int64_t received, Kind kind) const noexcept;
  // The judged line's point joins the estimate.
  void Add(const Stamp& stamp, std::int64_t received, Kind kind);
  // The count at which a pass stamped as judged happened, on the map as it
  // stands: never after its receive time, never before an earlier pass. A
  // stamp from an origin that is gone can only be taken at its receive time.
  std::int64_t Place(const Stamp& stamp, std::int64_t received) noexcept;
  // The same without remembering it, for a pass that waits.
  std::int64_t Estimate(const Stamp& stamp, std::int64_t received) const noexcept;

  // The gate said hello, or the link was opened again: the next heartbeat
  // shows whether the gate's clock went on.
  void Recheck() noexcept;
  // Another gate: forget everything.
  void Reset() noexcept;

  bool Synced() const noexcept { return synced_; }
  // A new origin after the gate restarted, still finding its offset.
  bool Anchoring() const noexcept { return anchoring_; }
  // Lap times to the millisecond: the rate is measured and the offset
  // anchored. Until then the map steps to every better estimate.
  bool Settled() const noexcept { return !anchoring_ && (settled_ || rateKnown_); }
  // Bumped at every new origin (the gate's clock started over).
  std::uint64_t Origin() const noexcept { return origin_; }
  // Bumped whenever the settled map's offset jumps: a new origin, or a map
  // found running late and stepped back. A lap across it is not good to the
  // millisecond.
  std::uint64_t Epoch() const noexcept { return epoch_; }
  // The gate's rate error as estimated, in parts per million (positive: fast).
  double SkewPpm() const noexcept;

 private:
  // A line's point relative to the sync origin: gate microseconds, counter ticks.
  struct Point {
    double x = 0;
    double y = 0;
  };
  // The lowest point of one second of gate time and the lines it stands for.
  struct Bucket {
    std::uint64_t second = 0;
    Point low;
    long long lines = 0;
  };

  void Start(std::uint64_t micros, std::int64_t received, bool restarted) noexcept;
  std::uint64_t Unwrap(std::uint64_t micros, std::int64_t received) const noexcept;
  double Mapped(std::uint64_t micros) const noexcept;
  void Take(std::uint64_t second, Point p);
  void Close();
  void EvictFront();
  void EstimateSlope() noexcept;
  void Note(Point p) noexcept;
  bool Anchored(double x) const noexcept;
  double EarlyBound() const noexcept;
  bool WindowSettled(double x) const noexcept;
  void Steer(double x) noexcept;
  const Point& At(std::uint64_t seq) const noexcept { return closed_[seq - frontSeq_].low; }
  double HullAt(double x) const noexcept;
  double Applied(double x) const noexcept { return baseY_ + rate_ * (x - baseX_); }

  double frequency_;
  double nominal_;  // counter ticks per gate microsecond of a perfect crystal
  bool synced_ = false;
  bool settled_ = false;    // the rate measured on this origin's own lines
  bool rateKnown_ = false;  // prior_ is a measured rate, kept across restarts
  bool rechecking_ = false;
  bool anchoring_ = false;
  bool clock32_ = true;  // every stamp so far fitted in 32 bits: a clock that may wrap
  std::uint64_t origin_ = 0;
  std::uint64_t epoch_ = 0;
  std::uint64_t originMicros_ = 0;
  std::int64_t originCount_ = 0;
  std::uint64_t lastMicros_ = 0;
  std::int64_t lastStamp_ = 0;
  bool stamped_ = false;

  // The sliding window: closed seconds oldest first, numbered from
  // frontSeq_, the lower hull of their points, and the open second.
  std::deque<Bucket> closed_;
  std::uint64_t frontSeq_ = 0;
  std::deque<std::uint64_t> hull_;
  std::vector<std::uint64_t> rebuilt_;  // the hull's start after an eviction, reused
  double sumX_ = 0;
  long long windowLines_ = 0;
  Bucket open_;
  bool hasOpen_ = false;

  // The offsets of this origin's lines at the rate of the moment: the
  // lowest, and their sum (each at most a second above the lowest). How far
  // the lines come above the lowest bounds how much lower the lines still to
  // come can reach.
  double lowOffset_ = 0;
  double sumOffset_ = 0;
  long long originLines_ = 0;

  double prior_;              // rate used while the window is too short to measure it
  double priorSpan_ = 0;      // gate microseconds the kept rate was measured over
  double slope_;              // the estimate: ticks per microsecond ...
  double hullIntercept_ = 0;  // ... and the lowest line of that rate under the closed seconds
  double baseX_ = 0;          // the applied map: a line through (baseX_, baseY_)
  double baseY_ = 0;
  double rate_;
};

}  // namespace decoder
