#pragma once
// A race seen through a gate, to measure the clock map: the gate's crystal
// off by some ppm, lines arriving late at random, heartbeats only during
// the warm-up, then three hours of 12 cars on laps of 5..60 s.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "decoder/clock_map.h"

namespace gate_race {

constexpr std::int64_t kFrequency = 1'000'000'000;
constexpr std::int64_t kConnected = 5'000'000'000'000;  // the counter when the gate connects
constexpr std::uint64_t kGateAtConnection = 987'654'321;
constexpr std::int64_t kMillisecond = kFrequency / 1000;

inline std::int64_t Ticks(double seconds) { return std::llround(seconds * kFrequency); }

// splitmix64: the same numbers on every machine and standard library.
struct Random {
  std::uint64_t state;
  double Uniform(double low, double high) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return low + (high - low) * static_cast<double>(z >> 11) * 0x1.0p-53;
  }
};

struct Race {
  double skewPpm;
  double heartbeatsPerSecond;
  double warmUpSeconds;
  std::uint64_t seed;
};

struct Outcome {
  double worstLapMs = 0;
  double worstAbsoluteMs = 0;
  double worstAbsoluteLateMs = 0;  // from half an hour into the race
  int laps = 0;
  bool settledAtStart = false;
  bool stampsInOrder = true;  // passes never going back, never after their receive times
};

// Three hours of 12 cars on laps of 5..60 s after a warm-up of heartbeats
// only. Every line leaves the gate when its crossing or heartbeat happens
// and arrives 0..200 ms later, never before the line sent ahead of it.
inline Outcome RunRace(const Race& race) {
  struct Event {
    std::int64_t count;
    int car;  // 0: a heartbeat
  };
  Random random{race.seed};
  std::vector<Event> events;
  const double end = race.warmUpSeconds + 3 * 3600;
  for (double t = 0; t < end; t += 1 / race.heartbeatsPerSecond) events.push_back({kConnected + Ticks(t), 0});
  for (int car = 1; car <= 12; ++car) {
    for (double t = race.warmUpSeconds + random.Uniform(5, 60); t < end; t += random.Uniform(5, 60)) {
      events.push_back({kConnected + Ticks(t), car});
    }
  }
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.count < b.count; });

  Outcome outcome;
  decoder::ClockMap map(kFrequency);
  std::int64_t received = 0;
  std::int64_t lastStamp = 0;
  bool started = false;
  std::array<std::int64_t, 13> lastTrue{}, lastMapped{};
  for (const Event& e : events) {
    const double sinceConnection = static_cast<double>(e.count - kConnected) / kFrequency;
    const auto micros = kGateAtConnection + static_cast<std::uint64_t>(sinceConnection * (1e6 + race.skewPpm));
    received = std::max(received, e.count + Ticks(random.Uniform(0, 0.2)));
    if (e.car != 0 && !started) {
      started = true;
      outcome.settledAtStart = map.Settled();
    }
    const auto kind = e.car == 0 ? decoder::ClockMap::Kind::kHeartbeat : decoder::ClockMap::Kind::kPass;
    const auto stamp = map.Judge(micros, received, kind);
    map.Add(stamp, received, kind);
    if (e.car == 0) continue;
    const std::int64_t count = map.Place(stamp, received);
    outcome.stampsInOrder = outcome.stampsInOrder && count >= lastStamp && count <= received;
    lastStamp = count;
    const double absolute = std::abs(static_cast<double>(count - e.count)) / 1e6;
    outcome.worstAbsoluteMs = std::max(outcome.worstAbsoluteMs, absolute);
    if (sinceConnection > race.warmUpSeconds + 1800) {
      outcome.worstAbsoluteLateMs = std::max(outcome.worstAbsoluteLateMs, absolute);
    }
    if (lastTrue[e.car] != 0) {
      const auto error = (count - lastMapped[e.car]) - (e.count - lastTrue[e.car]);
      outcome.worstLapMs = std::max(outcome.worstLapMs, std::abs(static_cast<double>(error)) / 1e6);
      ++outcome.laps;
    }
    lastTrue[e.car] = e.count;
    lastMapped[e.car] = count;
  }
  return outcome;
}

}  // namespace gate_race
