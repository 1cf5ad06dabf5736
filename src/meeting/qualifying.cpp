#include "meeting/qualifying.h"

#include <algorithm>

namespace meeting {
namespace {

struct Tally {
  QualifyingRow row;
  std::vector<CarResult> classified;  // best first
  std::size_t entry = 0;
};

// Negative when a's runs, best first, beat b's.
int CompareBestRuns(const Tally& a, const Tally& b) {
  const std::size_t n = std::min(a.classified.size(), b.classified.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (const int c = CompareRuns(a.classified[i], b.classified[i])) return c;
  }
  if (a.classified.size() != b.classified.size()) return a.classified.size() > b.classified.size() ? -1 : 1;
  return 0;
}

void ScoreRounds(std::vector<Tally>& tallies, int entrants) {
  std::map<int, std::vector<std::pair<Tally*, RoundRun*>>> byRound;
  for (auto& t : tallies) {
    for (auto& r : t.row.runs) {
      if (r.run.status == CarStatus::Classified) byRound[r.round].push_back({&t, &r});
    }
  }
  for (auto& [round, runs] : byRound) {
    std::sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return CompareRuns(a.second->run, b.second->run) < 0; });
    int place = 1;
    for (std::size_t i = 0; i < runs.size(); ++i) {
      if (i > 0 && CompareRuns(runs[i - 1].second->run, runs[i].second->run) != 0) place = static_cast<int>(i) + 1;
      runs[i].second->points = entrants + 1 - place;
      runs[i].first->row.points += runs[i].second->points;
    }
  }
}

}  // namespace

std::vector<QualifyingRow> QualifyingStandings(const Meeting& meeting, const std::vector<Heat>& heats,
                                               const std::vector<HeatResult>& results) {
  std::vector<Tally> tallies(meeting.entrants.size());
  std::map<DriverId, Tally*> byDriver;
  for (std::size_t i = 0; i < meeting.entrants.size(); ++i) {
    tallies[i].row.driver = meeting.entrants[i];
    tallies[i].entry = i;
    byDriver.emplace(meeting.entrants[i], &tallies[i]);
  }
  for (const auto& heat : heats) {
    const HeatResult* result = heat.slot.stage == Stage::Qualifying ? ResultOf(results, heat.slot.number) : nullptr;
    if (!result) continue;
    for (const auto& r : RunsOf(heat, *result)) {
      const auto it = byDriver.find(r.driver);
      if (it != byDriver.end()) it->second->row.runs.push_back({heat.slot.round, r.run, 0});
    }
  }
  const bool byPoints = meeting.qualifying.ranking == QualifyingRanking::RoundPoints;
  if (byPoints) ScoreRounds(tallies, static_cast<int>(tallies.size()));
  for (auto& t : tallies) {
    std::stable_sort(t.row.runs.begin(), t.row.runs.end(), [](const RoundRun& a, const RoundRun& b) { return a.round < b.round; });
    for (const auto& r : t.row.runs) {
      if (r.run.status == CarStatus::Classified) t.classified.push_back(r.run);
    }
    std::sort(t.classified.begin(), t.classified.end(), [](const CarResult& a, const CarResult& b) { return CompareRuns(a, b) < 0; });
    if (!t.classified.empty()) t.row.best = t.classified.front();
  }
  std::sort(tallies.begin(), tallies.end(), [byPoints](const Tally& a, const Tally& b) {
    if (byPoints && a.row.points != b.row.points) return a.row.points > b.row.points;
    if (const int c = CompareBestRuns(a, b)) return c < 0;
    return a.entry < b.entry;
  });
  std::vector<QualifyingRow> rows;
  rows.reserve(tallies.size());
  for (auto& t : tallies) {
    t.row.place = static_cast<int>(rows.size()) + 1;
    rows.push_back(std::move(t.row));
  }
  return rows;
}

FinalsShape ShapeOfFinals(int drivers, int finalSize, int bumpUp) {
  FinalsShape shape;
  if (drivers <= 0 || finalSize < 1) return shape;
  const int direct = std::max(1, finalSize - std::max(0, bumpUp));
  int left = drivers;
  while (left > finalSize) {
    shape.direct.push_back(direct);
    left -= direct;
  }
  shape.direct.push_back(left);
  return shape;
}

std::string FinalName(int final) {
  std::string name;
  for (int n = final; n > 0; n = (n - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

std::vector<DriverId> DirectQualifiers(const FinalsShape& shape, int final, const std::vector<DriverId>& qualifyingOrder) {
  std::size_t from = 0;
  for (int f = 1; f < final && f <= shape.Count(); ++f) from += static_cast<std::size_t>(shape.direct[static_cast<std::size_t>(f - 1)]);
  if (final < 1 || final > shape.Count() || from >= qualifyingOrder.size()) return {};
  const std::size_t to = std::min(qualifyingOrder.size(), from + static_cast<std::size_t>(shape.direct[static_cast<std::size_t>(final - 1)]));
  return {qualifyingOrder.begin() + static_cast<std::ptrdiff_t>(from), qualifyingOrder.begin() + static_cast<std::ptrdiff_t>(to)};
}

std::vector<DriverRun> FinalOrder(const Heat& heat, const HeatResult* result,
                                  const std::map<DriverId, int>& qualifyingPlace) {
  std::vector<DriverRun> runs;
  if (result) {
    runs = RunsOf(heat, *result);
  } else {
    for (const auto& s : heat.seats) runs.push_back({s.driver, CarResult{s.car, 0, 0, 0, CarStatus::Classified}});
  }
  const auto place = [&](DriverId d) {
    const auto it = qualifyingPlace.find(d);
    return it == qualifyingPlace.end() ? static_cast<int>(qualifyingPlace.size()) + 1 : it->second;
  };
  std::stable_sort(runs.begin(), runs.end(), [&](const DriverRun& a, const DriverRun& b) {
    if (const int c = CompareRuns(a.run, b.run)) return c < 0;
    return place(a.driver) < place(b.driver);
  });
  return runs;
}

}  // namespace meeting
