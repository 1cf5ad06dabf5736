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
// before it is trusted; and however long, over this many lines, one a
// second at least: a gate without heartbeats leaves gaps that a wrong rate
// hides in.
constexpr double kMinSettleSeconds = 120;
constexpr long long kMinSettleLines = 600;
// Once settled, an offset error is slewed away, never faster than this:
// 8 ppm moves a minute's lap by 0.48 ms. A map far early (a new origin
// starts so on purpose) is in no hurry: it comes back at a quarter of that.
constexpr double kMaxSlew = 8e-6;
constexpr double kMaxSlewEarly = 2e-6;
constexpr double kSlewSeconds = 30;
// A settled map running later than this is no drift but a change of the
// path: stepped. A map running early only costs absolute time: slewed back.
constexpr double kStepSeconds = 0.010;
// The envelope runs above the true line by the smallest delays, and early
// on by a few ms more when the rate is a little off. A map that runs late
// pulls passes back to their receive times, each one a lap off by that
// much; a map that runs early costs nothing but absolute time.
constexpr double kMarginSeconds = 0.0025;
// A gate time mapped this far after its receive time: the gate's clock jumped.
constexpr double kJumpSeconds = 1.0;
// A heartbeat after a hello mapped this far before its receive time: the
// gate's clock started over, from a time that happens to lie ahead of its
// last one. A heartbeat leaves as it is stamped; a pass may have waited.
constexpr double kStaleSeconds = 2.0;
// A 32-bit microsecond clock wraps every 71.6 minutes.
constexpr double kWrap = 4294967296.0;
// A restarted gate's new offset is anchored on this many lines over this
// much gate time; lines that come within half a millisecond of each other
// anchor it in four lines over a second.
constexpr long long kAnchorLines = 12;
constexpr double kAnchorSeconds = 5;
constexpr long long kQuickAnchorLines = 4;
constexpr double kQuickAnchorSeconds = 1;
constexpr double kQuickAnchorLeftSeconds = 0.0005;
// Of n lines late by 0..D at random, the lowest is D/(n+1) above the true
// line on average, and more than this many times that once in 150. An
// anchored map starts that much early.
constexpr double kAnchorQuantile = 5;
// A line further than this above the lowest tells no more about the spread.
constexpr double kSpreadCapSeconds = 1.0;

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

ClockMap::Stamp ClockMap::Judge(std::uint64_t micros, std::int64_t received, Kind kind) const noexcept {
  const bool wide = (micros >> 32) != 0;
  if (!synced_) return {micros, Sync::kFirstLine, origin_ + 1, wide};
  const Stamp reset{micros, Sync::kReset, origin_ + 1, wide};
  const std::uint64_t unwrapped = Unwrap(micros, received);
  if (unwrapped < lastMicros_) return reset;
  const double late = (static_cast<double>(received - originCount_) - Mapped(unwrapped)) / frequency_;
  if (late < -kJumpSeconds) return reset;
  if (rechecking_ && kind == Kind::kHeartbeat && late > kStaleSeconds) return reset;
  const bool wrapped = (unwrapped >> 32) != (lastMicros_ >> 32) && unwrapped != micros;
  return {unwrapped, wrapped ? Sync::kUnwrapped : Sync::kTracked, origin_, wide};
}

void ClockMap::Add(const Stamp& stamp, std::int64_t received, Kind kind) {
  if (stamp.sync == Sync::kFirstLine || stamp.sync == Sync::kReset) {
    Start(stamp.micros, received, stamp.sync == Sync::kReset);
  }
  if (kind == Kind::kHeartbeat) rechecking_ = false;
  if (stamp.wide) clock32_ = false;
  lastMicros_ = stamp.micros;

  const Point p{static_cast<double>(stamp.micros - originMicros_), static_cast<double>(received - originCount_)};
  Take(stamp.micros / 1000000, p);
  Note(p);
  Steer(p.x);
}

std::int64_t ClockMap::Place(const Stamp& stamp, std::int64_t received) noexcept {
  std::int64_t count = Estimate(stamp, received);
  if (stamped_) count = std::max(count, lastStamp_);
  lastStamp_ = count;
  stamped_ = true;
  return count;
}

std::int64_t ClockMap::Estimate(const Stamp& stamp, std::int64_t received) const noexcept {
  if (!synced_ || stamp.origin != origin_) return received;
  // A crossing cannot have happened after its line arrived.
  return std::min<std::int64_t>(originCount_ + std::llround(Mapped(stamp.micros)), received);
}

void ClockMap::Recheck() noexcept { rechecking_ = synced_; }

void ClockMap::Reset() noexcept {
  synced_ = false;
  settled_ = false;
  priorSpan_ = 0;
  stamped_ = false;
  rateKnown_ = false;
  rechecking_ = false;
  anchoring_ = false;
  clock32_ = true;
  prior_ = nominal_;
}

double ClockMap::SkewPpm() const noexcept { return (nominal_ / slope_ - 1) * kMicrosPerSecond; }

void ClockMap::Start(std::uint64_t micros, std::int64_t received, bool restarted) noexcept {
  // A crystal keeps its rate when the gate restarts, measured over the
  // window it had: the new origin's own lines measure it no better before
  // they span as long.
  if (settled_) {
    prior_ = slope_;
    priorSpan_ = closed_.empty() ? 0 : closed_.back().low.x - closed_.front().low.x;
  }
  rateKnown_ = rateKnown_ || settled_;
  ++origin_;
  ++epoch_;
  synced_ = true;
  settled_ = false;
  rechecking_ = false;
  anchoring_ = restarted;
  originMicros_ = micros;
  originCount_ = received;
  closed_.clear();
  hull_.clear();
  frontSeq_ = 0;
  sumX_ = 0;
  windowLines_ = 0;
  hasOpen_ = false;
  lowOffset_ = 0;
  sumOffset_ = 0;
  originLines_ = 0;
  slope_ = prior_;
  hullIntercept_ = std::numeric_limits<double>::infinity();
  baseX_ = 0;
  baseY_ = 0;
  rate_ = prior_;
}

// A clock that has only ever sent 32-bit stamps may have wrapped, as often
// as it takes to come near the time the map expects at the receive time.
std::uint64_t ClockMap::Unwrap(std::uint64_t micros, std::int64_t received) const noexcept {
  if (!clock32_ || (micros >> 32) != 0) return micros;
  const double expected =
      static_cast<double>(originMicros_) + baseX_ + (static_cast<double>(received - originCount_) - baseY_) / rate_;
  const double wraps = std::round((expected - static_cast<double>(micros)) / kWrap);
  if (!(wraps >= 1 && wraps < kWrap)) return micros;
  return micros + (static_cast<std::uint64_t>(wraps) << 32);
}

// Counter ticks after the origin at which the map puts a gate time of this origin.
double ClockMap::Mapped(std::uint64_t micros) const noexcept {
  return Applied(static_cast<double>(micros - originMicros_));
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
  // A rate kept from before a restart is worth more than a short window's.
  if (closed_.size() >= 2 && (settled_ || !rateKnown_)) {
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

// What this origin's lines say about their delays, at the rate of the moment.
void ClockMap::Note(Point p) noexcept {
  const double offset = p.y - slope_ * p.x;
  if (originLines_ == 0 || offset < lowOffset_) lowOffset_ = offset;
  sumOffset_ += std::min(offset, lowOffset_ + kSpreadCapSeconds * frequency_);
  ++originLines_;
}

bool ClockMap::Anchored(double x) const noexcept {
  const double span = x / kMicrosPerSecond;
  if (originLines_ >= kAnchorLines && span >= kAnchorSeconds) return true;
  return originLines_ >= kQuickAnchorLines && span >= kQuickAnchorSeconds &&
         EarlyBound() <= kAnchorQuantile * kQuickAnchorLeftSeconds * frequency_;
}

// How much lower the lines still to come may yet find the offset: the mean
// height above the lowest is about half the spread of the delays.
double ClockMap::EarlyBound() const noexcept {
  if (originLines_ == 0) return 0;
  const double lines = static_cast<double>(originLines_);
  const double above = sumOffset_ / lines - lowOffset_;
  return kAnchorQuantile * 2 * above / (lines + 1);
}

bool ClockMap::WindowSettled(double x) const noexcept {
  const double first = closed_.empty() ? open_.low.x : closed_.front().low.x;
  const double span = (x - first) / kMicrosPerSecond;
  const auto lines = static_cast<double>(windowLines_);
  return span >= kMinSettleSeconds && windowLines_ >= kMinSettleLines && lines >= span &&
         lines * span >= kSettleLineSeconds && (!rateKnown_ || x - first >= priorSpan_);
}

void ClockMap::Steer(double x) noexcept {
  const double intercept = std::min(hullIntercept_, open_.low.y - slope_ * open_.low.x);
  const double best = intercept + slope_ * x - kMarginSeconds * frequency_;
  bool step = !Settled();
  if (anchoring_ && Anchored(x)) {
    anchoring_ = false;
    step = true;
  }
  // A new origin on a kept rate: early by what its offset may still improve.
  const bool anchored = Settled() && !settled_;
  const double target = anchored ? best - EarlyBound() : best;
  if (!settled_ && !anchoring_) settled_ = WindowSettled(x);
  // A map anchored early that turns out late missed its bound: stepped at once.
  const double applied = Applied(x);
  baseX_ = x;
  if (step || applied - best > (anchored ? 0 : kStepSeconds * frequency_)) {
    if (!step) ++epoch_;
    baseY_ = target;
    rate_ = slope_;
    return;
  }
  const bool patient = anchored || target - applied > kStepSeconds * frequency_;
  baseY_ = applied;
  rate_ = slope_ + std::clamp((target - applied) / (kSlewSeconds * kMicrosPerSecond), -kMaxSlew * nominal_,
                              (patient ? kMaxSlewEarly : kMaxSlew) * nominal_);
}

}  // namespace decoder
