#include "meeting/heat.h"

#include <algorithm>
#include <array>

#include "records/race_id.h"
#include "records/cars.h"

namespace meeting {

std::optional<DriverId> Heat::DriverIn(int car) const noexcept {
  for (const auto& s : seats) {
    if (s.car == car) return s.driver;
  }
  return std::nullopt;
}

std::optional<int> Heat::CarOf(DriverId driver) const noexcept {
  for (const auto& s : seats) {
    if (s.driver == driver) return s.car;
  }
  return std::nullopt;
}

bool IsRaceId(std::string_view text) noexcept {
  // A race's name whose day is a date.
  if (!records::RaceId::Parse(text)) return false;
  const auto two = [&](std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
  return two(2) >= 1 && two(2) <= 12 && two(4) >= 1 && two(4) <= 31;
}

std::optional<ResultProblem> CheckResult(const HeatResult& result) {
  if (!IsRaceId(result.raceId)) return ResultProblem::BadRaceId;
  std::array<bool, records::kCars + 1> seen{};
  for (const auto& c : result.cars) {
    if (!records::IsCar(c.car) || seen[static_cast<std::size_t>(c.car)]) return ResultProblem::BadCar;
    seen[static_cast<std::size_t>(c.car)] = true;
    if (c.laps < 0 || c.timeMs < 0 || c.bestLapMs < 0) return ResultProblem::BadFigures;
  }
  return std::nullopt;
}

std::optional<std::string> EnterResult(std::vector<HeatResult>& results, HeatResult result) {
  for (auto& r : results) {
    if (r.heat == result.heat) {
      std::string earlier = std::move(r.raceId);
      r = std::move(result);
      return earlier;
    }
  }
  results.push_back(std::move(result));
  return std::nullopt;
}

const HeatResult* ResultOf(const std::vector<HeatResult>& results, int heat) noexcept {
  for (const auto& r : results) {
    if (r.heat == heat) return &r;
  }
  return nullptr;
}

int CompareRuns(const CarResult& a, const CarResult& b) noexcept {
  const auto rank = [](CarStatus s) { return s == CarStatus::Classified ? 0 : s == CarStatus::DidNotStart ? 1 : 2; };
  if (rank(a.status) != rank(b.status)) return rank(a.status) < rank(b.status) ? -1 : 1;
  if (a.status != CarStatus::Classified) return 0;
  if (a.laps != b.laps) return a.laps > b.laps ? -1 : 1;
  if (a.timeMs != b.timeMs) return a.timeMs < b.timeMs ? -1 : 1;
  return 0;
}

std::vector<DriverRun> RunsOf(const Heat& heat, const HeatResult& result) {
  std::vector<DriverRun> runs;
  runs.reserve(heat.seats.size());
  for (const auto& seat : heat.seats) {
    DriverRun r{seat.driver, CarResult{seat.car, 0, 0, 0, CarStatus::DidNotStart}};
    for (const auto& c : result.cars) {
      if (c.car == seat.car) r.run = c;
    }
    runs.push_back(r);
  }
  return runs;
}

}  // namespace meeting
