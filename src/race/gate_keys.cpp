#include "race/gate_keys.h"

#include <algorithm>
#include <iterator>

namespace race {

void GateKeys::NewRace(std::int64_t hold, std::int64_t window) noexcept {
  hold_ = hold;
  window_ = window;
  seen_.fill(false);
  lastCrossing_.fill(std::nullopt);
  held_.clear();
}

void GateKeys::Saw(int car, std::int64_t when) noexcept {
  seen_[car] = true;
  lastCrossing_[car] = when;
}

std::optional<std::int64_t> GateKeys::CrossingNear(int car, std::int64_t pressed) const noexcept {
  const auto& crossing = lastCrossing_[car];
  if (crossing && pressed >= *crossing - window_ && pressed <= *crossing + window_) return crossing;
  return std::nullopt;
}

void GateKeys::Hold(int car, std::int64_t pressed) {
  // Stamps may come a hair out of order; the list stays in press order.
  const auto at = std::upper_bound(held_.begin(), held_.end(), pressed,
                                   [](std::int64_t p, const HeldKey& k) { return p < k.pressed; });
  held_.insert(at, HeldKey{car, pressed});
}

template <typename Pred>
std::vector<HeldKey> GateKeys::TakeIf(Pred pred) {
  std::vector<HeldKey> taken;
  std::copy_if(held_.begin(), held_.end(), std::back_inserter(taken), pred);
  std::erase_if(held_, pred);
  return taken;
}

std::vector<HeldKey> GateKeys::TakeBefore(int car, std::int64_t limit) {
  return TakeIf([car, limit](const HeldKey& k) { return k.car == car && k.pressed < limit; });
}

std::vector<HeldKey> GateKeys::TakeNear(int car, std::int64_t crossing) {
  const std::int64_t w = window_;
  return TakeIf([car, crossing, w](const HeldKey& k) {
    return k.car == car && k.pressed >= crossing - w && k.pressed <= crossing + w;
  });
}

std::vector<HeldKey> GateKeys::TakeDue(std::int64_t now) {
  const std::int64_t hold = hold_;
  return TakeIf([now, hold](const HeldKey& k) { return k.pressed + hold <= now; });
}

std::vector<HeldKey> GateKeys::TakeAll() {
  std::vector<HeldKey> taken;
  taken.swap(held_);
  return taken;
}

std::optional<std::int64_t> GateKeys::NextRelease() const noexcept {
  if (held_.empty()) return std::nullopt;
  return held_.front().pressed + hold_;
}

}  // namespace race
