#include "decoder/session.h"

#include <algorithm>
#include <variant>

namespace decoder {

Session::Session(std::int64_t frequency) : frequency_(frequency), clock_(frequency) {}

std::vector<GatePass> Session::Feed(std::string_view bytes, std::int64_t received) {
  std::vector<GatePass> out;
  splitter_.Push(bytes, [&](const Line& line) {
    ++counts_.lines;
    if (!WithinBudget(received)) {
      ++counts_.droppedLines;
      lastDrop_ = received;
      return;
    }
    Take(line, received, out);
  });
  return out;
}

void Session::Reset() {
  splitter_.Clear();
  clock_.Reset();
  counts_ = SessionCounts{};
  seen_ = {};
  rates_ = {};
  lastGoodLine_.reset();
  lastDrop_.reset();
  budgetStart_.reset();
  budgetUsed_ = 0;
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
bool Session::WithinBudget(std::int64_t received) noexcept {
  if (!budgetStart_ || received - *budgetStart_ >= frequency_) {
    budgetStart_ = received;
    budgetUsed_ = 0;
  }
  if (budgetUsed_ >= kMaxLinesPerSecond) return false;
  ++budgetUsed_;
  return true;
}

void Session::Take(const Line& line, std::int64_t received, std::vector<GatePass>& out) {
  if (line.tooLong) {
    ++counts_.badLines;
    return;
  }
  const Message message = Parse(line.text);
  if (std::holds_alternative<Bad>(message)) {
    ++counts_.badLines;
    return;
  }
  lastGoodLine_ = received;
  if (const auto* hello = std::get_if<Hello>(&message)) {
    ++counts_.hellos;
    counts_.lastHello = hello->text;
    // Sent on connection and after the gate's reset: its time starts over.
    if (clock_.Synced()) ++counts_.resets;
    clock_.Resync();
  } else if (const auto* beat = std::get_if<Heartbeat>(&message)) {
    Stamped(clock_.Add(beat->micros, received).sync);
  } else {
    TakePass(std::get<Pass>(message), received, out);
  }
}

void Session::TakePass(const Pass& pass, std::int64_t received, std::vector<GatePass>& out) {
  const ClockMap::Stamp stamp = clock_.Add(pass.micros, received);
  Stamped(stamp.sync);
  seen_[static_cast<std::size_t>(pass.car)] = stamp.count;
  if (!WithinCarRate(pass.car, stamp.count)) {
    ++counts_.droppedPasses[static_cast<std::size_t>(pass.car)];
    lastDrop_ = received;
    return;
  }
  ++counts_.passes;
  out.push_back(GatePass{pass.car, stamp.count});
}

void Session::Stamped(ClockMap::Sync sync) noexcept {
  if (sync == ClockMap::Sync::kTimeWentBack || sync == ClockMap::Sync::kJumpedAhead) ++counts_.resets;
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
