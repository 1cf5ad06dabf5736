#pragma once
// The keys as the track gate's backup: whether the gate is connected, which
// cars it has seen in this race and where it last saw each, and the key
// presses of those cars held back for a moment, in case the gate's line for
// the same crossing is still on its way.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "race/model.h"

namespace race {

struct HeldKey {
  int car = 0;
  std::int64_t pressed = 0;  // counter count of the press
};

class GateKeys final {
 public:
  // A new race: nothing seen, nothing held; the link stays as it is.
  // `hold`: how long after its press a key waits; `window`: how far apart
  // a key and a gate crossing of one car may lie and still be one crossing.
  void NewRace(std::int64_t hold, std::int64_t window) noexcept;
  void SetConnected(bool connected) noexcept { connected_ = connected; }

  // The gate saw the car cross at `when`.
  void Saw(int car, std::int64_t when) noexcept;
  // A key of the car waits for the gate: the gate is up and has seen the car.
  bool Holds(int car) const noexcept { return connected_ && seen_[car]; }
  // The car's last gate crossing, when it lies within the window of `pressed`.
  std::optional<std::int64_t> CrossingNear(int car, std::int64_t pressed) const noexcept;

  void Hold(int car, std::int64_t pressed);
  // Takes out, in press order: the car's keys pressed before `limit`; the
  // car's keys within the window of `crossing`; the keys whose wait ended
  // by `now`; every key.
  std::vector<HeldKey> TakeBefore(int car, std::int64_t limit);
  std::vector<HeldKey> TakeNear(int car, std::int64_t crossing);
  std::vector<HeldKey> TakeDue(std::int64_t now);
  std::vector<HeldKey> TakeAll();
  // When the first held key's wait ends.
  std::optional<std::int64_t> NextRelease() const noexcept;
  std::int64_t window() const noexcept { return window_; }

 private:
  template <typename Pred>
  std::vector<HeldKey> TakeIf(Pred pred);

  bool connected_ = false;
  std::int64_t hold_ = 0;
  std::int64_t window_ = 0;
  std::array<bool, kCars + 1> seen_{};
  std::array<std::optional<std::int64_t>, kCars + 1> lastCrossing_{};
  std::vector<HeldKey> held_;  // in press order
};

}  // namespace race
