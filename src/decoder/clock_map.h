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
// never jumps, and steps only for errors over 10 ms.
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

#include <cstdint>
#include <deque>
#include <vector>

namespace decoder {

class ClockMap final {
 public:
  // How a line was placed on the counter's time base.
  enum class Sync {
    kTracked,       // on the running estimate
    kFirstLine,     // first line since construction, Resync() or Reset()
    kTimeWentBack,  // the gate's time went back: it was reset
    kJumpedAhead,   // the gate's time ran far ahead of the counter
  };
  struct Stamp {
    std::int64_t count = 0;  // never after the receive time, never before an earlier stamp
    Sync sync = Sync::kTracked;
  };

  // `frequency`: counter ticks per second.
  explicit ClockMap(std::int64_t frequency) noexcept;

  // A line stamped with the gate's time `micros` that arrived at counter
  // count `received`: its point joins the estimate, and the count at which
  // `micros` happened comes back. The first line after a resync is taken at
  // its receive time.
  Stamp Add(std::uint64_t micros, std::int64_t received);

  // The gate said hello again: the next line starts afresh, keeping the
  // crystal's measured rate.
  void Resync() noexcept;
  // Another gate or connection: forget everything.
  void Reset() noexcept;

  bool Synced() const noexcept { return synced_; }
  // Enough lines seen for lap times to the millisecond; until then the map
  // steps to every better estimate.
  bool Settled() const noexcept { return settled_; }
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

  void Start(std::uint64_t micros, std::int64_t received) noexcept;
  void Take(std::uint64_t second, Point p);
  void Close();
  void EvictFront();
  void EstimateSlope() noexcept;
  void Steer(double x) noexcept;
  const Point& At(std::uint64_t seq) const noexcept { return closed_[seq - frontSeq_].low; }
  double HullAt(double x) const noexcept;
  double Applied(double x) const noexcept { return baseY_ + rate_ * (x - baseX_); }

  double frequency_;
  double nominal_;  // counter ticks per gate microsecond of a perfect crystal
  bool synced_ = false;
  bool settled_ = false;
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

  double prior_;              // rate used while the window is too short to measure it
  double slope_;              // the estimate: ticks per microsecond ...
  double hullIntercept_ = 0;  // ... and the lowest line of that rate under the closed seconds
  double baseX_ = 0;          // the applied map: a line through (baseX_, baseY_)
  double baseY_ = 0;
  double rate_;
};

}  // namespace decoder
