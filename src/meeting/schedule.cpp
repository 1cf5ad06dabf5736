#include "meeting/schedule.h"

#include <algorithm>

#include "meeting/lineup.h"
#include "meeting/qualifying.h"
#include "records/cars.h"

namespace meeting {
namespace {

int Entrants(const Meeting& m) { return static_cast<int>(m.entrants.size()); }

std::vector<DriverId> OrderOf(const std::vector<QualifyingRow>& rows) {
  std::vector<DriverId> order;
  order.reserve(rows.size());
  for (const auto& r : rows) order.push_back(r.driver);
  return order;
}

std::map<DriverId, int> PlacesOf(const std::vector<QualifyingRow>& rows) {
  std::map<DriverId, int> places;
  for (const auto& r : rows) places.emplace(r.driver, r.place);
  return places;
}

bool AllRun(const std::vector<Heat>& heats, const std::vector<HeatResult>& results, Stage stage, int round) {
  return std::all_of(heats.begin(), heats.end(), [&](const Heat& h) {
    return h.slot.stage != stage || (round && h.slot.round != round) || ResultOf(results, h.slot.number);
  });
}

// A round's groups from an order, best first: the best block runs last.
std::vector<Heat> RoundHeats(const std::vector<HeatSlot>& outline, std::size_t first, const std::vector<DriverId>& order,
                             bool bestLast, const std::map<DriverId, int>& numbers) {
  std::vector<Heat> heats;
  const int round = outline[first].round;
  std::vector<HeatSlot> slots;
  for (std::size_t i = first; i < outline.size() && outline[i].stage == Stage::Qualifying && outline[i].round == round; ++i) {
    slots.push_back(outline[i]);
  }
  std::vector<std::vector<DriverId>> groups(slots.size());
  std::size_t at = 0;
  for (std::size_t k = 0; k < slots.size(); ++k) {
    const std::size_t g = bestLast ? slots.size() - 1 - k : k;
    for (int n = 0; n < slots[g].cars && at < order.size(); ++n) groups[g].push_back(order[at++]);
  }
  for (std::size_t g = 0; g < slots.size(); ++g) heats.push_back({slots[g], SeatGrid(groups[g], numbers)});
  return heats;
}

std::vector<Heat> ReadyFinals(const Meeting& m, const std::vector<HeatSlot>& outline, const std::vector<Heat>& heats,
                              const std::vector<HeatResult>& results, const std::map<DriverId, int>& numbers) {
  if (!AllRun(heats, results, Stage::Qualifying, 0)) return {};
  const auto standings = QualifyingStandings(m, heats, results);
  const auto order = OrderOf(standings);
  const auto places = PlacesOf(standings);
  const auto& q = m.qualifying;
  const FinalsShape shape = ShapeOfFinals(Entrants(m), q.finalSize, q.bumpUp);
  std::vector<Heat> ready;
  const Heat* below = heats.empty() || heats.back().slot.stage != Stage::Final ? nullptr : &heats.back();
  for (std::size_t i = heats.size(); i < outline.size(); ++i) {
    const int final = outline[i].group;
    std::vector<DriverId> grid = DirectQualifiers(shape, final, order);
    if (below && q.bumpUp > 0) {
      const HeatResult* result = ResultOf(results, below->slot.number);
      if (!result) break;
      int bumped = 0;
      for (const auto& r : FinalOrder(*below, result, places)) {
        if (bumped == q.bumpUp || r.run.status != CarStatus::Classified) break;
        grid.push_back(r.driver);
        ++bumped;
      }
    }
    ready.push_back({outline[i], SeatGrid(grid, numbers)});
    below = &ready.back();
    if (q.bumpUp > 0) break;  // the next final waits for this one's result
  }
  return ready;
}

}  // namespace

std::vector<HeatSlot> Outline(const Meeting& m) {
  std::vector<HeatSlot> slots;
  const int n = Entrants(m);
  if (n == 0) return slots;
  if (m.format == Format::Rotation) {
    const int lanes = std::clamp(m.rotation.lanes, 1, records::kCars);
    for (int h = 1; h <= std::max(n, lanes); ++h) {
      slots.push_back({h, Stage::Rotation, h, 0, m.rotation.stintMinutes, std::min(n, lanes), true});
    }
    return slots;
  }
  const auto& q = m.qualifying;
  const auto sizes = GroupSizes(n, std::clamp(q.groupSize, 1, records::kCars));
  for (int r = 1; r <= q.rounds; ++r) {
    for (std::size_t g = 0; g < sizes.size(); ++g) {
      slots.push_back({static_cast<int>(slots.size()) + 1, Stage::Qualifying, r, static_cast<int>(g) + 1, q.roundMinutes,
                       sizes[g], !q.individualTiming});
    }
  }
  const FinalsShape shape = ShapeOfFinals(n, std::clamp(q.finalSize, 1, records::kCars), q.bumpUp);
  int below = 0;  // the most the final below can hold, and so send up
  for (int f = shape.Count(); f >= 1; --f) {
    const int cars = shape.direct[static_cast<std::size_t>(f - 1)] + std::min(std::max(q.bumpUp, 0), below);
    slots.push_back({static_cast<int>(slots.size()) + 1, Stage::Final, 0, f, q.finalMinutes, cars, true});
    below = cars;
  }
  return slots;
}

std::vector<Heat> ReadyHeats(const Meeting& m, const std::vector<Driver>& roster, const std::vector<Heat>& heats,
                             const std::vector<HeatResult>& results) {
  const auto outline = Outline(m);
  if (heats.size() >= outline.size()) return {};
  for (std::size_t i = 0; i < heats.size(); ++i) {
    if (!(heats[i].slot == outline[i])) return {};
  }
  const HeatSlot& next = outline[heats.size()];
  if (next.stage == Stage::Rotation) {
    auto all = RotationHeats(m);
    all.erase(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(heats.size()));
    return all;
  }
  const auto numbers = RaceNumbers(roster);
  if (next.stage == Stage::Final) return ReadyFinals(m, outline, heats, results, numbers);
  if (next.round == 1) {
    const auto order = m.qualifying.firstRound == FirstRoundOrder::Random ? DrawOrder(m.entrants, m.qualifying.seed)
                                                                          : m.entrants;
    return RoundHeats(outline, heats.size(), order, false, numbers);
  }
  if (!AllRun(heats, results, Stage::Qualifying, next.round - 1)) return {};
  return RoundHeats(outline, heats.size(), OrderOf(QualifyingStandings(m, heats, results)), true, numbers);
}

bool MeetingComplete(const Meeting& m, const std::vector<Heat>& heats, const std::vector<HeatResult>& results) {
  if (heats.size() != Outline(m).size() || heats.empty()) return false;
  return std::all_of(heats.begin(), heats.end(), [&](const Heat& h) { return ResultOf(results, h.slot.number) != nullptr; });
}

}  // namespace meeting
