#include "meeting/season.h"

#include <algorithm>
#include <map>

#include "meeting/text.h"

namespace meeting {
namespace {

struct SeasonTally {
  SeasonRow row;
  std::vector<int> places;  // count of each place, [0] for wins
};

// Negative when a ranks before b; 0 for a shared place.
int Compare(const SeasonTally& a, const SeasonTally& b) {
  if (a.row.points != b.row.points) return a.row.points > b.row.points ? -1 : 1;
  const std::size_t n = std::max(a.places.size(), b.places.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int x = i < a.places.size() ? a.places[i] : 0;
    const int y = i < b.places.size() ? b.places[i] : 0;
    if (x != y) return x > y ? -1 : 1;
  }
  return 0;
}

void CountBest(SeasonRow& row, int bestOf) {
  std::vector<std::size_t> scored;
  for (std::size_t i = 0; i < row.meetingPoints.size(); ++i) {
    if (row.meetingPoints[i]) scored.push_back(i);
  }
  // Best first; among equal points the earlier meeting is kept.
  std::stable_sort(scored.begin(), scored.end(),
                   [&](std::size_t a, std::size_t b) { return *row.meetingPoints[a] > *row.meetingPoints[b]; });
  for (std::size_t k = 0; k < scored.size(); ++k) {
    const int p = *row.meetingPoints[scored[k]];
    row.allPoints += p;
    if (bestOf > 0 && k >= static_cast<std::size_t>(bestOf)) {
      row.dropped[scored[k]] = true;
    } else {
      row.points += p;
    }
  }
}

}  // namespace

SeasonTable Season(const std::vector<SeasonMeeting>& meetings, std::string_view className, int year, int bestOf) {
  const std::string key = MatchKey(className);
  std::vector<const SeasonMeeting*> counted;
  for (const auto& m : meetings) {
    if (m.date.year == year && MatchKey(m.className) == key && m.classification.complete) counted.push_back(&m);
  }
  std::stable_sort(counted.begin(), counted.end(), [](const SeasonMeeting* a, const SeasonMeeting* b) {
    return a->date != b->date ? a->date < b->date : a->meeting < b->meeting;
  });
  SeasonTable table;
  std::map<DriverId, SeasonTally> tallies;
  for (std::size_t col = 0; col < counted.size(); ++col) {
    table.meetings.push_back(counted[col]->meeting);
    for (const auto& p : counted[col]->classification.placings) {
      if (!p.scored || p.place < 1) continue;
      SeasonTally& t = tallies[p.driver];
      t.row.driver = p.driver;
      t.row.meetingPoints.resize(counted.size());
      t.row.dropped.resize(counted.size());
      t.row.meetingPoints[col] = t.row.meetingPoints[col].value_or(0) + p.points;
      if (t.places.size() < static_cast<std::size_t>(p.place)) t.places.resize(static_cast<std::size_t>(p.place));
      ++t.places[static_cast<std::size_t>(p.place) - 1];
    }
  }
  std::vector<SeasonTally> sorted;
  for (auto& [id, t] : tallies) {
    CountBest(t.row, bestOf);
    sorted.push_back(std::move(t));
  }
  std::stable_sort(sorted.begin(), sorted.end(), [](const SeasonTally& a, const SeasonTally& b) { return Compare(a, b) < 0; });
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const bool same = i > 0 && Compare(sorted[i - 1], sorted[i]) == 0;
    sorted[i].row.place = same ? sorted[i - 1].row.place : static_cast<int>(i) + 1;
    if (same) sorted[i - 1].row.tied = sorted[i].row.tied = true;
  }
  for (auto& t : sorted) table.rows.push_back(std::move(t.row));
  return table;
}

}  // namespace meeting
