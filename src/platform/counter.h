#pragma once
// The high-resolution performance counter every race and lap time comes from.

#include <cstdint>
#include <optional>

namespace platform {

class PerformanceCounter {
 public:
  virtual ~PerformanceCounter() = default;
  // Ticks per second, or nothing when the machine has no usable counter.
  virtual std::optional<std::int64_t> Frequency() = 0;
  virtual std::int64_t Read() = 0;
};

// The monotonic clock in nanoseconds: Frequency() is 1000000000.
class MonotonicCounter final : public PerformanceCounter {
 public:
  std::optional<std::int64_t> Frequency() override;
  std::int64_t Read() override;
};

}  // namespace platform
