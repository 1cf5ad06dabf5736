#include "results/laps.h"
#include "records/cars.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace results {

namespace {

// Adds a completed lap to the car's entry: under common timing lap 1 starts
// at the start button, not at the line, so it is kept apart.
void AddLap(CarLaps& entry, const Lap& lap, bool commonTiming) {
  if (commonTiming && lap.lap == 1) {
    entry.partialFirst = lap;
    return;
  }
  entry.laps.push_back(lap);
  if (!entry.fastest || lap.seconds < entry.laps[*entry.fastest].seconds) entry.fastest = entry.laps.size() - 1;
}

}  // namespace

std::vector<CarLaps> LapsOf(const std::vector<records::TPaso>& passes, const std::vector<int>& cars,
                            bool commonTiming) {
  std::vector<records::TPaso> ordered(passes);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const records::TPaso& a, const records::TPaso& b) { return a.pass < b.pass; });
  std::vector<CarLaps> out;
  out.reserve(cars.size());
  for (int car : cars) {
    CarLaps entry;
    entry.car = car;
    long long elapsedMs = 0;  // whole milliseconds, as the files write them
    for (const auto& pass : ordered) {
      if (pass.car != car || pass.lap == 0) continue;
      elapsedMs += std::llround(pass.lapTime * 1000.0);
      AddLap(entry, {pass.lap, pass.lapTime, static_cast<double>(elapsedMs) / 1000.0, pass.pass}, commonTiming);
    }
    out.push_back(std::move(entry));
  }
  return out;
}

std::vector<CarLaps> LapsAfter(const RaceResult& result, const std::vector<int>& cars, bool commonTiming) {
  std::vector<CarLaps> out;
  out.reserve(cars.size());
  for (int car : cars) {
    CarLaps entry;
    entry.car = car;
    const auto row = std::find_if(result.rows.begin(), result.rows.end(), [car](const CarResult& r) { return r.car == car; });
    if (row != result.rows.end()) {
      int number = 0;
      for (const Crossing& c : row->crossings) {
        if (c.startsClock) continue;
        AddLap(entry, {++number, static_cast<double>(c.lapMs) / 1000.0, static_cast<double>(c.atMs) / 1000.0, c.pass},
               commonTiming);
      }
    }
    out.push_back(std::move(entry));
  }
  return out;
}

std::vector<CarPositions> PositionsByLap(const std::vector<CarLaps>& laps) {
  // Every completed lap of every car, the partial first one included.
  struct Crossing {
    int car;
    double elapsed;
    int pass;
  };
  std::map<int, std::vector<Crossing>> byLap;
  for (const auto& car : laps) {
    if (car.partialFirst) byLap[car.partialFirst->lap].push_back({car.car, car.partialFirst->elapsed, car.partialFirst->pass});
    for (const auto& lap : car.laps) byLap[lap.lap].push_back({car.car, lap.elapsed, lap.pass});
  }
  std::vector<CarPositions> out;
  out.reserve(laps.size());
  for (const auto& car : laps) out.push_back({car.car, {}});
  for (auto& [lap, crossings] : byLap) {
    std::stable_sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) {
      if (a.elapsed != b.elapsed) return a.elapsed < b.elapsed;
      return a.pass < b.pass;
    });
    for (std::size_t i = 0; i < crossings.size(); ++i) {
      for (auto& car : out) {
        if (car.car == crossings[i].car) car.points.emplace_back(lap, static_cast<int>(i) + 1);
      }
    }
  }
  return out;
}

std::string CarColour(int car) {
  // Twelve colours far apart from each other, readable on white.
  static constexpr std::array<const char*, records::kCars> kColours = {
      "#e6194b", "#3cb44b", "#4363d8", "#f58231", "#911eb4", "#42a5b5",
      "#f032e6", "#8a9a00", "#9a6324", "#000075", "#808080", "#800000"};
  if (!records::IsCar(car)) return "#000000";
  return kColours[static_cast<std::size_t>(car - 1)];
}

}  // namespace results
