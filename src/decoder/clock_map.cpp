#include "decoder/clock_map.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace decoder {
namespace {

constexpr double kMicrosPerSecond = 1e6;
// Half an hour of gate time: the rate's error falls with the square of the
// span, and a crystal's rate hardly moves within it.
constexpr std::uint64_t kWindowSeconds = 1800;
// Crystals are within 100 ppm; a poor early measurement is held within twice that.
constexpr double kMaxSkew = 200e-6;
// A rate measured over less time is mostly noise: the prior rate is used.
constexpr double kMinSkewSpanSeconds = 60;
// Half the width of the middle part of the window the rate is measured
// over, as a fraction of the window's span.
constexpr double kChordFraction = 0.15;
// The rate's error falls roughly with lines × seconds spanned; below this
// the map follows every better estimate at once. 10 minutes of one line a
// second, or 5 minutes of four.
constexpr double kSettleLineSeconds = 360000;
// However many lines come, the rate is measured over this long at least
// before it is trusted.
constexpr double kMinSettleSeconds = 120;
// Once settled, an offset error is slewed away, never faster than this:
// 8 ppm moves a minute's lap by 0.48 ms.
constexpr double kMaxSlew = 8e-6;
constexpr double kSlewSeconds = 30;
// A settled error beyond this is no drift but a change of the path: stepped.
constexpr double kStepSeconds = 0.010;
// The envelope runs above the true line by the smallest delays, and early
// on by a few ms more when the rate is a little off. A map that runs late
// pulls passes back to their receive times, each one a lap off by that
// much; a map that runs early costs nothing but absolute time.
constexpr double kMarginSeconds = 0.0025;
// A gate time mapped this far after its receive time: the gate's clock jumped.
constexpr double kJumpSeconds = 1.0;

// Positive when o, a, b turn counter-clockwise (a lies below the chord o-b).
template <typename P>
double Cross(const P& o, const P& a, const P& b) noexcept {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

}  // namespace

ClockMap::ClockMap(std::int64_t frequency) noexcept
    : frequency_(static_cast<double>(frequency)),
      nominal_(frequency_ / kMicrosPerSecond),
      prior_(nominal_),
      slope_(nominal_),
      rate_(nominal_) {}

ClockMap::Stamp ClockMap::Add(std::uint64_t micros, std::int64_t received) {
  Sync sync = Sync::kTracked;
  if (!synced_) {
    sync = Sync::kFirstLine;
  } else if (micros < lastMicros_) {
    sync = Sync::kTimeWentBack;
  } else {
    const double x = static_cast<double>(micros - originMicros_);
    const double y = static_cast<double>(received - originCount_);
    if (Applied(x) - y > kJumpSeconds * frequency_) sync = Sync::kJumpedAhead;
  }
  if (sync != Sync::kTracked) Start(micros, received);
  lastMicros_ = micros;

  const Point p{static_cast<double>(micros - originMicros_), static_cast<double>(received - originCount_)};
  Take(micros / 1000000, p);
  Steer(p.x);

  // A crossing cannot have happened after its line arrived.
  std::int64_t count = std::min<std::int64_t>(originCount_ + std::llround(Applied(p.x)), received);
  if (stamped_) count = std::max(count, lastStamp_);
  lastStamp_ = count;
  stamped_ = true;
  return {count, sync};
}

void ClockMap::Resync() noexcept {
  if (settled_) prior_ = slope_;
  synced_ = false;
}

void ClockMap::Reset() noexcept {
  synced_ = false;
  stamped_ = false;
  prior_ = nominal_;
}

double ClockMap::SkewPpm() const noexcept { return (nominal_ / slope_ - 1) * kMicrosPerSecond; }

void ClockMap::Start(std::uint64_t micros, std::int64_t received) noexcept {
  synced_ = true;
  settled_ = false;
  originMicros_ = micros;
  originCount_ = received;
  closed_.clear();
  hull_.clear();
  frontSeq_ = 0;
  sumX_ = 0;
  windowLines_ = 0;
  hasOpen_ = false;
  slope_ = prior_;
  hullIntercept_ = std::numeric_limits<double>::infinity();
  baseX_ = 0;
  baseY_ = 0;
  rate_ = prior_;
}

// One point per second of gate time, the lowest: it bounds memory and work
// whatever the line rate, and loses nothing, since only the lowest points
// shape the envelope.
void ClockMap::Take(std::uint64_t second, Point p) {
  bool changed = false;
  if (hasOpen_ && open_.second != second) {
    Close();
    changed = true;
  }
  if (!hasOpen_) {
    open_ = Bucket{second, p, 0};
    hasOpen_ = true;
  } else if (p.y - slope_ * p.x < open_.low.y - slope_ * open_.low.x) {
    open_.low = p;
  }
  ++open_.lines;
  ++windowLines_;
  while (!closed_.empty() && closed_.front().second + kWindowSeconds < second) {
    EvictFront();
    changed = true;
  }
  if (changed) EstimateSlope();
}

void ClockMap::Close() {
  closed_.push_back(open_);
  hasOpen_ = false;
  sumX_ += open_.low.x;
  const std::uint64_t seq = frontSeq_ + closed_.size() - 1;
  const Point& p = open_.low;
  while (hull_.size() >= 2 && Cross(At(hull_[hull_.size() - 2]), At(hull_.back()), p) <= 0) hull_.pop_back();
  hull_.push_back(seq);
}

// The oldest point is always the hull's first vertex. Without it, the hull
// changes only up to its next vertex, which stays on it: that part is
// rebuilt from the points in between.
void ClockMap::EvictFront() {
  sumX_ -= closed_.front().low.x;
  windowLines_ -= closed_.front().lines;
  closed_.pop_front();
  ++frontSeq_;
  hull_.pop_front();
  if (hull_.empty()) return;
  const std::uint64_t next = hull_.front();
  hull_.pop_front();
  rebuilt_.clear();
  for (std::uint64_t seq = frontSeq_; seq <= next; ++seq) {
    while (rebuilt_.size() >= 2 && Cross(At(rebuilt_[rebuilt_.size() - 2]), At(rebuilt_.back()), At(seq)) <= 0) {
      rebuilt_.pop_back();
    }
    rebuilt_.push_back(seq);
  }
  hull_.insert(hull_.begin(), rebuilt_.begin(), rebuilt_.end());
}

// The rate is the hull's mean slope over the middle of the window: near
// the edge over the mean gate time, which gives the line under every point
// closest to them on average, but a short edge there no longer swings the
// rate by tens of ppm.
void ClockMap::EstimateSlope() noexcept {
  slope_ = prior_;
  if (closed_.size() >= 2) {
    const double first = closed_.front().low.x;
    const double last = closed_.back().low.x;
    if (last - first >= kMinSkewSpanSeconds * kMicrosPerSecond) {
      const double mean = sumX_ / static_cast<double>(closed_.size());
      const double half = kChordFraction * (last - first);
      const double from = std::max(first, mean - half);
      const double to = std::min(last, mean + half);
      slope_ =
          std::clamp((HullAt(to) - HullAt(from)) / (to - from), nominal_ * (1 - kMaxSkew), nominal_ * (1 + kMaxSkew));
      if (settled_) prior_ = slope_;
    }
  }
  // The lowest line of a rate under a point set touches a hull vertex.
  hullIntercept_ = std::numeric_limits<double>::infinity();
  for (const std::uint64_t seq : hull_) hullIntercept_ = std::min(hullIntercept_, At(seq).y - slope_ * At(seq).x);
}

double ClockMap::HullAt(double x) const noexcept {
  std::size_t i = 0;
  while (i + 2 < hull_.size() && At(hull_[i + 1]).x < x) ++i;
  const Point& a = At(hull_[i]);
  const Point& b = At(hull_[i + 1]);
  return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
}

void ClockMap::Steer(double x) noexcept {
  const double intercept = std::min(hullIntercept_, open_.low.y - slope_ * open_.low.x);
  const double target = intercept + slope_ * x - kMarginSeconds * frequency_;
  if (!settled_) {
    baseX_ = x;
    baseY_ = target;
    rate_ = slope_;
    const double first = closed_.empty() ? open_.low.x : closed_.front().low.x;
    const double span = (x - first) / kMicrosPerSecond;
    settled_ = span >= kMinSettleSeconds && static_cast<double>(windowLines_) * span >= kSettleLineSeconds;
    return;
  }
  const double applied = Applied(x);
  const double error = target - applied;
  baseX_ = x;
  if (std::abs(error) > kStepSeconds * frequency_) {
    baseY_ = target;
    rate_ = slope_;
    return;
  }
  const double limit = kMaxSlew * nominal_;
  baseY_ = applied;
  rate_ = slope_ + std::clamp(error / (kSlewSeconds * kMicrosPerSecond), -limit, limit);
}

}  // namespace decoder
