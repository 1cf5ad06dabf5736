#include "decoder/session.h"

#include <algorithm>
#include <variant>

namespace decoder {

Session::Session(std::int64_t frequency) : frequency_(frequency), clock_(frequency) {}

std::vector<GatePass> Session::Feed(std::string_view bytes, std::int64_t received) {
  std::vector<GatePass> out = Poll(received);
  splitter_.Push(bytes, [&](const Line& line) {
    ++counts_.lines;
    Take(line, received, out);
  });
  return out;
}

std::vector<GatePass> Session::Poll(std::int64_t now) {
  std::vector<GatePass> out;
  std::size_t due = 0;
  while (due < waiting_.size() && now - waiting_[due].received >= kMaxHoldSeconds * frequency_) ++due;
  Release(due, out);
  return out;
}

std::vector<GatePass> Session::Flush() {
  std::vector<GatePass> out;
  Release(waiting_.size(), out);
  return out;
}

void Session::Reconnected() noexcept {
  splitter_.Clear();
  clock_.Recheck();
  lastGoodLine_.reset();
}

void Session::Reset() {
  splitter_.Clear();
  clock_.Reset();
  counts_ = SessionCounts{};
  seen_ = {};
  rates_ = {};
  placed_ = {};
  waiting_.clear();
  lastGoodLine_.reset();
  lastDrop_.reset();
  lineBudget_ = Budget{};
  badBudget_ = Budget{};
}

std::optional<std::int64_t> Session::LastSeen(int car) const noexcept {
  if (car < 1 || car > kMaxCar) return std::nullopt;
  return seen_[static_cast<std::size_t>(car)];
}

std::optional<std::int64_t> Session::SinceLastGoodLine(std::int64_t now) const noexcept {
  if (!lastGoodLine_) return std::nullopt;
  return now - *lastGoodLine_;
}

bool Session::Flooded(std::int64_t now) const noexcept {
  return lastDrop_ && now - *lastDrop_ < kFloodCalmSeconds * frequency_;
}

// Budgets run over whole seconds of receive time from the first line
// after the last one ran out.
bool Session::WithinBudget(Budget& budget, std::int64_t received) const noexcept {
  if (!budget.start || received - *budget.start >= frequency_) {
    budget.start = received;
    budget.used = 0;
  }
  if (budget.used >= kMaxLinesPerSecond) return false;
  ++budget.used;
  return true;
}

// Every line is parsed first, its length bounded by the splitter: what a
// line is decides what it may cost.
void Session::Take(const Line& line, std::int64_t received, std::vector<GatePass>& out) {
  const Message message = line.tooLong ? Message{Bad{}} : Parse(line.text);
  if (std::holds_alternative<Bad>(message)) {
    ++counts_.badLines;
    if (!WithinBudget(badBudget_, received)) lastDrop_ = received;
    return;
  }
  lastGoodLine_ = received;
  if (const auto* pass = std::get_if<Pass>(&message)) {
    TakePass(*pass, received, out);
    return;
  }
  if (!WithinBudget(lineBudget_, received)) {
    ++counts_.droppedLines;
    lastDrop_ = received;
    return;
  }
  if (const auto* hello = std::get_if<Hello>(&message)) {
    ++counts_.hellos;
    counts_.lastHello = hello->text;
    // Sent on connection and after the gate's restart: its next heartbeat tells which.
    clock_.Recheck();
  } else {
    Sample(std::get<Heartbeat>(message).micros, received, ClockMap::Kind::kHeartbeat, out);
  }
}

void Session::TakePass(const Pass& pass, std::int64_t received, std::vector<GatePass>& out) {
  const ClockMap::Stamp stamp = Sample(pass.micros, received, ClockMap::Kind::kPass, out);
  const std::int64_t estimate = clock_.Estimate(stamp, received);
  seen_[static_cast<std::size_t>(pass.car)] = estimate;
  if (!WithinCarRate(pass.car, estimate)) {
    ++counts_.droppedPasses[static_cast<std::size_t>(pass.car)];
    lastDrop_ = received;
    return;
  }
  // Behind a waiting pass, a pass waits too: passes leave in order.
  if (clock_.Anchoring() || !waiting_.empty()) {
    waiting_.push_back({pass.car, stamp, received});
    return;
  }
  Deliver(pass.car, stamp, received, out);
}

// Every stamped line, pass or heartbeat, is a sample of the gate's clock.
ClockMap::Stamp Session::Sample(std::uint64_t micros, std::int64_t received, ClockMap::Kind kind,
                                std::vector<GatePass>& out) {
  const ClockMap::Stamp stamp = clock_.Judge(micros, received, kind);
  if (stamp.sync == ClockMap::Sync::kReset) {
    ++counts_.resets;
    // Waiting passes are placed on the origin they belong to, before it goes.
    Release(waiting_.size(), out);
  }
  clock_.Add(stamp, received, kind);
  if (!waiting_.empty() && !clock_.Anchoring()) Release(waiting_.size(), out);
  return stamp;
}

void Session::Deliver(int car, const ClockMap::Stamp& stamp, std::int64_t received, std::vector<GatePass>& out) {
  const std::int64_t count = clock_.Place(stamp, received);
  const bool settled = clock_.Settled() && stamp.origin == clock_.Origin();
  CarPlacing& last = placed_[static_cast<std::size_t>(car)];
  const bool approximate = !settled || (last.any && (!last.settled || last.epoch != clock_.Epoch()));
  last = CarPlacing{true, settled, clock_.Epoch()};
  ++counts_.passes;
  out.push_back(GatePass{car, count, approximate});
}

void Session::Release(std::size_t n, std::vector<GatePass>& out) {
  if (n == 0) return;
  for (std::size_t i = 0; i < n; ++i) Deliver(waiting_[i].car, waiting_[i].stamp, waiting_[i].received, out);
  waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(n));
}

// At most kMaxPassesPerCarPerSecond passes of a car within any one second.
bool Session::WithinCarRate(int car, std::int64_t count) noexcept {
  CarRate& rate = rates_[static_cast<std::size_t>(car)];
  if (rate.held == kMaxPassesPerCarPerSecond) {
    if (count - rate.counts.front() < frequency_) return false;
    std::shift_left(rate.counts.begin(), rate.counts.end(), 1);
    --rate.held;
  }
  rate.counts[static_cast<std::size_t>(rate.held++)] = count;
  return true;
}

}  // namespace decoder
