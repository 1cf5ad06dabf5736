#include "meeting/standings.h"

#include <algorithm>
#include <map>
#include <set>

#include "meeting/qualifying.h"
#include "meeting/schedule.h"

namespace meeting {
namespace {

struct RotationTally {
  RotationRow row;
  std::size_t entry = 0;
  bool disqualified = false;  // in some stint
};

// Negative when a ranks before b; 0 for a shared place.
int CompareTotals(const RotationRow& a, const RotationRow& b) noexcept {
  if ((a.stints > 0) != (b.stints > 0)) return a.stints > 0 ? -1 : 1;
  if (a.laps != b.laps) return a.laps > b.laps ? -1 : 1;
  if (a.timeMs != b.timeMs) return a.timeMs < b.timeMs ? -1 : 1;
  return 0;
}

std::vector<RotationTally> RotationTallies(const Meeting& m, const std::vector<Heat>& heats,
                                           const std::vector<HeatResult>& results) {
  std::vector<RotationTally> tallies(m.entrants.size());
  std::map<DriverId, RotationTally*> byDriver;
  for (std::size_t i = 0; i < m.entrants.size(); ++i) {
    tallies[i].row.driver = m.entrants[i];
    tallies[i].entry = i;
    byDriver.emplace(m.entrants[i], &tallies[i]);
  }
  for (const auto& heat : heats) {
    const HeatResult* result = heat.slot.stage == Stage::Rotation ? ResultOf(results, heat.slot.number) : nullptr;
    if (!result) continue;
    for (const auto& r : RunsOf(heat, *result)) {
      const auto it = byDriver.find(r.driver);
      if (it == byDriver.end()) continue;
      RotationTally& t = *it->second;
      if (r.run.status == CarStatus::Disqualified) t.disqualified = true;
      if (r.run.status != CarStatus::Classified) continue;
      t.row.laps += r.run.laps;
      t.row.timeMs += r.run.timeMs;
      ++t.row.stints;
      if (r.run.bestLapMs > 0 && (t.row.bestLapMs == 0 || r.run.bestLapMs < t.row.bestLapMs)) t.row.bestLapMs = r.run.bestLapMs;
    }
  }
  std::sort(tallies.begin(), tallies.end(), [](const RotationTally& a, const RotationTally& b) {
    if (const int c = CompareTotals(a.row, b.row)) return c < 0;
    return a.entry < b.entry;
  });
  for (std::size_t i = 0; i < tallies.size(); ++i) {
    const bool sameAsBefore = i > 0 && CompareTotals(tallies[i - 1].row, tallies[i].row) == 0;
    tallies[i].row.place = sameAsBefore ? tallies[i - 1].row.place : static_cast<int>(i) + 1;
    if (sameAsBefore) tallies[i - 1].row.tied = tallies[i].row.tied = true;
  }
  return tallies;
}

Classification RotationClassification(const Meeting& m, const std::vector<Heat>& heats,
                                      const std::vector<HeatResult>& results) {
  Classification c;
  for (const auto& t : RotationTallies(m, heats, results)) {
    Placing p{t.row.driver, t.row.place, t.row.tied, CarStatus::Classified, t.row.stints > 0, 0, 0};
    if (!p.scored) p.status = t.disqualified ? CarStatus::Disqualified : CarStatus::DidNotStart;
    if (p.scored) p.points = PointsFor(m.points, p.place);
    c.placings.push_back(p);
  }
  return c;
}

Classification FinalsClassification(const Meeting& m, const std::vector<Heat>& heats,
                                    const std::vector<HeatResult>& results) {
  const auto standings = QualifyingStandings(m, heats, results);
  std::vector<DriverId> order;
  std::map<DriverId, int> places;
  for (const auto& r : standings) {
    order.push_back(r.driver);
    places.emplace(r.driver, r.place);
  }
  const FinalsShape shape = ShapeOfFinals(static_cast<int>(m.entrants.size()), m.qualifying.finalSize, m.qualifying.bumpUp);
  std::map<int, const Heat*> finals;
  for (const auto& h : heats) {
    if (h.slot.stage == Stage::Final) finals.emplace(h.slot.group, &h);
  }
  Classification c;
  std::set<DriverId> placed;
  for (int f = 1; f <= shape.Count(); ++f) {
    std::vector<DriverRun> runs;
    const HeatResult* result = nullptr;
    if (const auto it = finals.find(f); it != finals.end()) {
      result = ResultOf(results, it->second->slot.number);
      runs = FinalOrder(*it->second, result, places);
    } else {
      for (DriverId d : DirectQualifiers(shape, f, order)) runs.push_back({d, CarResult{}});
    }
    for (const auto& r : runs) {
      if (!placed.insert(r.driver).second) continue;  // bumped up into a higher final
      Placing p{r.driver, static_cast<int>(c.placings.size()) + 1, false, r.run.status, false, 0, f};
      p.scored = p.status == CarStatus::Classified;
      if (p.scored) p.points = PointsFor(m.points, p.place);
      c.placings.push_back(p);
    }
  }
  // Only when a stored line-up no longer matches the qualifying order.
  for (DriverId d : order) {
    if (placed.insert(d).second) {
      c.placings.push_back({d, static_cast<int>(c.placings.size()) + 1, false, CarStatus::DidNotStart, false, 0, 0});
    }
  }
  return c;
}

}  // namespace

std::vector<RotationRow> RotationStandings(const Meeting& m, const std::vector<Heat>& heats,
                                           const std::vector<HeatResult>& results) {
  std::vector<RotationRow> rows;
  for (auto& t : RotationTallies(m, heats, results)) rows.push_back(t.row);
  return rows;
}

Classification MeetingClassification(const Meeting& m, const std::vector<Heat>& heats,
                                     const std::vector<HeatResult>& results) {
  Classification c = m.format == Format::Rotation ? RotationClassification(m, heats, results)
                                                  : FinalsClassification(m, heats, results);
  c.complete = MeetingComplete(m, heats, results);
  return c;
}

}  // namespace meeting
