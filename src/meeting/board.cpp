#include "meeting/board.h"

#include <algorithm>
#include <set>

#include "meeting/schedule.h"
#include "records/cars.h"

namespace meeting {

Board BoardOf(const Meeting& m, const std::vector<Driver>& roster, const std::vector<Heat>& heats,
              const std::vector<HeatResult>& results, int prepared) {
  Board board;
  board.meeting = m.id;
  board.name = m.name;
  const auto outline = Outline(m);
  board.heatCount = static_cast<int>(outline.size());
  const Classification c = MeetingClassification(m, heats, results);
  board.complete = c.complete;

  auto next = std::find_if(heats.begin(), heats.end(), [prepared](const Heat& h) { return h.slot.number == prepared; });
  if (next == heats.end()) {
    next = std::find_if(heats.begin(), heats.end(), [&](const Heat& h) { return !ResultOf(results, h.slot.number); });
  }
  if (next != heats.end()) {
    board.next = next->slot;
    board.lineup = next->seats;
    std::sort(board.lineup.begin(), board.lineup.end(), [](const Seat& a, const Seat& b) { return a.car < b.car; });
    // A heat has at most one seat per car, whatever a damaged store holds.
    if (board.lineup.size() > static_cast<std::size_t>(records::kCars)) board.lineup.resize(records::kCars);
  } else if (!board.complete && heats.size() < outline.size()) {
    board.next = outline[heats.size()];  // still to be lined up
  }

  std::vector<RotationRow> rotation;
  if (m.format == Format::Rotation) rotation = RotationStandings(m, heats, results);
  for (const Placing& p : c.placings) {
    if (board.standings.size() == kMaxBoardRows) {
      board.truncated = true;
      break;
    }
    BoardRow row{p, std::nullopt};
    const auto r = std::find_if(rotation.begin(), rotation.end(), [&](const RotationRow& x) { return x.driver == p.driver; });
    if (r != rotation.end()) row.rotation = *r;
    board.standings.push_back(row);
  }

  std::set<DriverId> named;
  for (const Seat& s : board.lineup) named.insert(s.driver);
  for (const BoardRow& r : board.standings) named.insert(r.placing.driver);
  for (const Driver& d : roster) {
    if (named.count(d.id) != 0) board.drivers.push_back(d);
  }
  return board;
}

}  // namespace meeting
