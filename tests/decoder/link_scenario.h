#pragma once
// A gate seen through a whole session, to measure what drops, resets,
// clock wraps and silence cost: heartbeats (or none) during a warm-up, then
// 12 cars on laps of 5..60 s; every line arrives 0..maxDelay late and never
// before the line sent ahead of it. Lines sent while the link is down are
// lost on the way; everything else must come out as a pass.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "decoder/session.h"
#include "gate_race.h"

namespace link_scenario {

using gate_race::kConnected;
using gate_race::kFrequency;
using gate_race::Ticks;

struct Gate {
  double skewPpm = 150;
  double heartbeatsPerSecond = 4;  // 0: a gate that sends passes only
  double maxDelay = 0.3;
  double warmUp = 600;
  double race = 600;
  std::uint64_t seed = 1;
  std::uint64_t micros = 987'654'321;  // the gate's clock at the start
  bool clock32 = false;                // the gate's clock wraps at 2^32
};

enum class Kind {
  kDrop,        // the link is down for `seconds`, the gate's clock goes on
  kReset,       // the gate restarts on a link that stays up (a serial board)
  kPowerCycle,  // the link is down for `seconds` and the gate restarts
};
struct Incident {
  Kind kind;
  double at;  // seconds from the start
  double seconds = 0;
};

struct Lap {
  int car = 0;
  double start = 0;  // true seconds of its two crossings
  double end = 0;
  double errorMs = 0;
  bool approximate = false;
};

struct Outcome {
  std::vector<Lap> laps;
  int crossings = 0;    // sent while the link was up
  int unaccounted = 0;  // sent while up and never handed over
  int wrongCar = 0;
  double worstLapMs(double from, bool approximate) const {  // laps starting at `from` or later
    double worst = 0;
    for (const Lap& lap : laps) {
      if (lap.start >= from && lap.approximate == approximate) worst = std::max(worst, std::abs(lap.errorMs));
    }
    return worst;
  }
};

// The gate's lines through one session, with the link's incidents.
inline Outcome Run(const Gate& gate, const std::vector<Incident>& incidents) {
  struct Event {
    double t;
    int car;  // 0: a heartbeat, -1: a hello, -2: the link comes back
  };
  gate_race::Random random{gate.seed};
  std::vector<Event> events;
  const double end = gate.warmUp + gate.race;
  if (gate.heartbeatsPerSecond > 0) {
    for (double t = 0; t < end; t += 1 / gate.heartbeatsPerSecond) events.push_back({t, 0});
  }
  for (int car = 1; car <= 12; ++car) {
    for (double t = gate.warmUp + random.Uniform(5, 60); t < end; t += random.Uniform(5, 60))
      events.push_back({t, car});
  }
  events.push_back({0, -1});
  // A gate says hello as it boots and as it accepts a connection.
  for (const Incident& incident : incidents) {
    events.push_back({incident.at + incident.seconds, -1});
    if (incident.kind != Kind::kReset) events.push_back({incident.at + incident.seconds, -2});
  }
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.t < b.t || (a.t == b.t && a.car < b.car);  // the link, then the hello, first
  });

  // The gate's clock at true time t: it starts over at every restart.
  const auto clock = [&](double t) {
    double boot = 0;
    std::uint64_t start = gate.micros;
    for (const Incident& incident : incidents) {
      if (incident.kind != Kind::kDrop && incident.at <= t) {
        boot = incident.at;
        start = 0;
      }
    }
    const auto micros = start + static_cast<std::uint64_t>((t - boot) * (1e6 + gate.skewPpm));
    return gate.clock32 ? micros & 0xFFFF'FFFFULL : micros;
  };
  const auto down = [&](double t) {
    return std::any_of(incidents.begin(), incidents.end(),
                       [&](const Incident& i) { return i.kind != Kind::kReset && t >= i.at && t < i.at + i.seconds; });
  };

  Outcome outcome;
  decoder::Session session(kFrequency);
  std::array<std::vector<double>, 13> sent;  // true times of each car's crossings in flight
  std::array<std::vector<std::int64_t>, 13> counts;
  std::array<std::vector<double>, 13> times;
  std::array<std::vector<bool>, 13> approximate;
  const auto take = [&](const std::vector<decoder::GatePass>& passes) {
    for (const decoder::GatePass& pass : passes) {
      auto& queue = sent[static_cast<std::size_t>(pass.car)];
      if (queue.empty()) {
        ++outcome.wrongCar;
        continue;
      }
      const auto c = static_cast<std::size_t>(pass.car);
      times[c].push_back(queue.front());
      queue.erase(queue.begin());
      counts[c].push_back(pass.count);
      approximate[c].push_back(pass.approximate);
    }
  };
  std::int64_t received = 0;
  double nextPoll = 0;
  for (const Event& e : events) {
    if (e.car == -2) {
      session.Reconnected();
      continue;
    }
    if (down(e.t)) continue;
    if (e.car > 0) {
      sent[static_cast<std::size_t>(e.car)].push_back(e.t);
      ++outcome.crossings;
    }
    const std::int64_t arrival = std::max(received, kConnected + Ticks(e.t + random.Uniform(0, gate.maxDelay)));
    const double arrivalSeconds = static_cast<double>(arrival - kConnected) / kFrequency;
    // The link's timer: passes held back come out in time.
    for (; nextPoll < arrivalSeconds; nextPoll += 0.25) take(session.Poll(kConnected + Ticks(nextPoll)));
    received = arrival;
    std::string line = e.car == -1  ? std::string("TRELVIX-GATE 1 simulated\n")
                       : e.car == 0 ? "H " + std::to_string(clock(e.t)) + "\n"
                                    : "P " + std::to_string(e.car) + " " + std::to_string(clock(e.t)) + "\n";
    take(session.Feed(line, received));
  }
  take(session.Poll(received + Ticks(60)));

  for (std::size_t car = 1; car <= 12; ++car) {
    outcome.unaccounted += static_cast<int>(sent[car].size());
    for (std::size_t i = 1; i < counts[car].size(); ++i) {
      const double mapped = static_cast<double>(counts[car][i] - counts[car][i - 1]) / 1e6;
      const double error = mapped - (times[car][i] - times[car][i - 1]) * 1e3;
      outcome.laps.push_back({static_cast<int>(car), times[car][i - 1], times[car][i], error, approximate[car][i]});
    }
  }
  return outcome;
}

}  // namespace link_scenario
