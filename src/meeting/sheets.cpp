#include "meeting/sheets.h"

#include <algorithm>
#include <map>

#include "meeting/qualifying.h"
#include "meeting/schedule.h"
#include "meeting/text.h"
#include "meeting/texts.h"

namespace meeting {

namespace {

using results::Cell;

constexpr Words kCar{"Coche", "Car"};
constexpr Words kRace{"Carrera", "Race"};
constexpr Words kResult{"Resultado", "Result"};
constexpr Words kPlace{"Puesto", "Place"};
constexpr Words kDriver{"Piloto", "Driver"};
constexpr Words kLaps{"Vueltas", "Laps"};
constexpr Words kTime{"Tiempo", "Time"};
constexpr Words kBestLap{"Vuelta rápida", "Best lap"};
constexpr Words kPoints{"Puntos", "Points"};
constexpr Words kStints{"Mangas", "Stints"};
constexpr Words kPending{"(por alinear)", "(to be lined up)"};
constexpr Words kDns{"No salió", "DNS"};
constexpr Words kHeatSheet{"Hoja de mangas", "Heat sheet"};
constexpr Words kMeetingResults{"Resultados de la reunión", "Meeting results"};
constexpr Words kChampionship{"Campeonato", "Championship"};
constexpr Words kLanes{"carriles", "lanes"};
constexpr Words kStintsOf{"mangas de", "stints of"};
constexpr Words kRounds{"rondas de", "rounds of"};
constexpr Words kFinalsOf{"finales de", "finals of"};
constexpr Words kCars{"coches", "cars"};
constexpr Words kBumped{"suben", "bumped up"};

std::string Pick(const Words& words, bool spanish) { return words.Pick(spanish); }

std::string PlaceText(int place, bool tied) { return std::to_string(place) + (tied ? "=" : ""); }

Cell Seconds(std::int64_t ms) { return Cell::Time(static_cast<double>(ms) / 1000.0); }

class Names {
 public:
  explicit Names(const std::vector<Driver>& roster) : index_(IndexOf(roster)) {}
  std::string Of(DriverId id, bool shortName) const {
    const auto it = index_.find(id);
    if (it == index_.end()) return "#" + std::to_string(id);
    return shortName ? it->second->shortName : it->second->name;
  }

 private:
  RosterIndex index_;
};

}  // namespace

std::optional<MeetingBook> ReadBook(MeetingStore& store, MeetingId id) {
  MeetingBook book;
  const auto found = store.MeetingById(id);
  if (!found) return std::nullopt;
  book.meeting = *found;
  auto heats = store.Heats(id);
  auto results = heats ? store.Results(id) : std::nullopt;
  auto roster = results ? store.Drivers() : std::nullopt;
  if (!roster) return std::nullopt;
  book.heats = std::move(*heats);
  book.results = std::move(*results);
  book.roster = std::move(*roster);
  return book;
}

std::vector<Heat> LineUps(const std::vector<StoredHeat>& heats) {
  std::vector<Heat> out;
  out.reserve(heats.size());
  for (const auto& h : heats) out.push_back(h.heat);
  return out;
}

std::optional<std::vector<SeasonMeeting>> SeasonMeetings(MeetingStore& store, const std::vector<Meeting>& meetings,
                                                         std::string_view className, int year,
                                                         const MeetingBook* current) {
  const std::string key = MatchKey(className);
  std::vector<SeasonMeeting> season;
  for (const auto& m : meetings) {
    if (m.date.year != year || MatchKey(m.className) != key) continue;
    if (current != nullptr && current->meeting.id == m.id) {
      season.push_back({m.id, m.date, m.className,
                        MeetingClassification(current->meeting, LineUps(current->heats), current->results)});
      continue;
    }
    const auto stored = store.Heats(m.id);
    const auto results = stored ? store.Results(m.id) : std::nullopt;
    if (!results) return std::nullopt;
    season.push_back({m.id, m.date, m.className, MeetingClassification(m, LineUps(*stored), *results)});
  }
  return season;
}

results::Table HeatSheet(const MeetingBook& book, bool spanish) {
  const auto outline = Outline(book.meeting);
  int cars = 0;
  for (const auto& slot : outline) {
    cars = std::max(cars, slot.stage == Stage::Rotation ? book.meeting.rotation.lanes : slot.cars);
  }
  for (const auto& h : book.heats) {
    for (const auto& s : h.heat.seats) cars = std::max(cars, s.car);
  }
  cars = std::clamp(cars, 0, 12);
  results::Table table;
  table.name = Pick(kHeatSheet, spanish);
  table.columns.push_back({"heat", Pick(words::kHeat, spanish)});
  for (int c = 1; c <= cars; ++c) {
    table.columns.push_back({"car" + std::to_string(c), Pick(kCar, spanish) + " " + std::to_string(c)});
  }
  table.columns.push_back({"race", Pick(kRace, spanish)});
  table.columns.push_back({"result", Pick(kResult, spanish)});
  const Names names(book.roster);
  const int count = static_cast<int>(outline.size());
  for (const auto& slot : outline) {
    std::vector<Cell> row(table.columns.size());
    row[0] = Cell::Text(HeatTitle(slot, count, spanish));
    const auto stored =
        std::find_if(book.heats.begin(), book.heats.end(), [&](const auto& h) { return h.heat.slot.number == slot.number; });
    if (stored == book.heats.end()) {
      if (cars > 0) row[1] = Cell::Text(Pick(kPending, spanish));
    } else {
      for (const auto& s : stored->heat.seats) {
        if (s.car >= 1 && s.car <= cars) row[static_cast<std::size_t>(s.car)] = Cell::Text(names.Of(s.driver, true));
      }
      if (stored->raceId) row[static_cast<std::size_t>(cars) + 1] = Cell::Text(*stored->raceId);
    }
    if (ResultOf(book.results, slot.number) != nullptr) row[static_cast<std::size_t>(cars) + 2] = Cell::Text("✓");
    table.rows.push_back(std::move(row));
  }
  return table;
}

results::Table HeatList(const MeetingBook& book, bool spanish) {
  const auto outline = Outline(book.meeting);
  results::Table table;
  table.name = Pick(kHeatSheet, spanish);
  table.columns = {{"heat", Pick(words::kHeat, spanish)}, {"car", Pick(kCar, spanish)}, {"driver", Pick(kDriver, spanish)}};
  const Names names(book.roster);
  const int count = static_cast<int>(outline.size());
  for (const auto& slot : outline) {
    Cell title = Cell::Text(HeatTitle(slot, count, spanish));
    const auto stored =
        std::find_if(book.heats.begin(), book.heats.end(), [&](const auto& h) { return h.heat.slot.number == slot.number; });
    if (stored == book.heats.end() || stored->heat.seats.empty()) {
      table.rows.push_back({std::move(title), Cell{}, Cell::Text(Pick(kPending, spanish))});
      continue;
    }
    for (const auto& s : stored->heat.seats) {
      table.rows.push_back({std::move(title), Cell::Number(s.car), Cell::Text(names.Of(s.driver, false))});
      title = Cell{};
    }
  }
  return table;
}

results::Table MeetingResults(const MeetingBook& book, bool spanish) {
  const Meeting& m = book.meeting;
  const auto heats = LineUps(book.heats);
  const auto classification = MeetingClassification(m, heats, book.results);
  std::map<DriverId, const Placing*> placing;
  for (const auto& p : classification.placings) placing[p.driver] = &p;
  const Names names(book.roster);
  results::Table table;
  table.name = Pick(kMeetingResults, spanish);
  if (m.format == Format::Rotation) {
    table.columns = {{"place", Pick(kPlace, spanish)},  {"driver", Pick(kDriver, spanish)},
                     {"laps", Pick(kLaps, spanish)},    {"time_s", Pick(kTime, spanish)},
                     {"best_lap_s", Pick(kBestLap, spanish)}, {"stints", Pick(kStints, spanish)},
                     {"points", Pick(kPoints, spanish)}};
    for (const auto& r : RotationStandings(m, heats, book.results)) {
      const auto p = placing.find(r.driver);
      table.rows.push_back({Cell::Text(PlaceText(r.place, r.tied)), Cell::Text(names.Of(r.driver, false)),
                            Cell::Number(r.laps), r.stints > 0 ? Seconds(r.timeMs) : Cell{},
                            r.bestLapMs ? Seconds(r.bestLapMs) : Cell{},
                            Cell::Number(r.stints),
                            p != placing.end() ? Cell::Number(p->second->points) : Cell{}});
    }
    return table;
  }
  table.columns = {{"place", Pick(kPlace, spanish)},   {"driver", Pick(kDriver, spanish)},
                   {"final", Pick(words::kFinal, spanish)}, {"result", Pick(kResult, spanish)},
                   {"points", Pick(kPoints, spanish)}};
  for (const auto& p : classification.placings) {
    const std::string status =
        p.status == CarStatus::DidNotStart ? Pick(kDns, spanish) : Pick(WordsOf(p.status), spanish);
    table.rows.push_back({Cell::Text(PlaceText(p.place, p.tied)), Cell::Text(names.Of(p.driver, false)),
                          p.final > 0 ? Cell::Text(FinalName(p.final)) : Cell{},
                          status.empty() ? Cell{} : Cell::Text(status), Cell::Number(p.points)});
  }
  return table;
}

results::Table Championship(const SeasonTable& season, const std::vector<Meeting>& meetings,
                            const std::vector<Driver>& roster, bool spanish) {
  results::Table table;
  table.name = Pick(kChampionship, spanish);
  table.columns = {{"place", Pick(kPlace, spanish)}, {"driver", Pick(kDriver, spanish)}, {"points", Pick(kPoints, spanish)}};
  for (auto id : season.meetings) {
    const auto m = std::find_if(meetings.begin(), meetings.end(), [id](const auto& x) { return x.id == id; });
    const std::string date = m != meetings.end() ? IsoDate(m->date) : std::to_string(id);
    table.columns.push_back({date, date.size() == 10 ? date.substr(5) : date});
  }
  const Names names(roster);
  for (const auto& r : season.rows) {
    std::vector<Cell> row{Cell::Text(PlaceText(r.place, r.tied)), Cell::Text(names.Of(r.driver, false)),
                          Cell::Number(r.points)};
    for (std::size_t c = 0; c < r.meetingPoints.size(); ++c) {
      if (!r.meetingPoints[c]) {
        row.emplace_back();
      } else if (c < r.dropped.size() && r.dropped[c]) {
        row.push_back(Cell::Text("(" + std::to_string(*r.meetingPoints[c]) + ")"));
      } else {
        row.push_back(Cell::Number(*r.meetingPoints[c]));
      }
    }
    table.rows.push_back(std::move(row));
  }
  return table;
}

std::string ChampionshipTitle(std::string_view className, int year, bool spanish) {
  std::string title = Pick(kChampionship, spanish);
  if (!className.empty()) title += " " + std::string(className);
  return title + " " + std::to_string(year);
}

std::string HeatSheetTitle(bool spanish) { return Pick(kHeatSheet, spanish); }
std::string MeetingResultsTitle(bool spanish) { return Pick(kMeetingResults, spanish); }

std::string MeetingLine(const Meeting& meeting, bool spanish) {
  std::string line = meeting.name;
  if (!meeting.className.empty()) line += " · " + meeting.className;
  line += " · ";
  if (meeting.format == Format::Rotation) {
    const auto& r = meeting.rotation;
    line += Pick(words::kRotation, spanish) + ", " + std::to_string(r.lanes) + " " + Pick(kLanes, spanish) + ", " +
            Pick(kStintsOf, spanish) + " " + std::to_string(r.stintMinutes) + " min";
  } else {
    const auto& q = meeting.qualifying;
    line += Pick(words::kQualifyingFinals, spanish) + ", " + std::to_string(q.rounds) + " " + Pick(kRounds, spanish) +
            " " + std::to_string(q.roundMinutes) + " min, " + Pick(kFinalsOf, spanish) + " " +
            std::to_string(q.finalSize) + " " + Pick(kCars, spanish) + " (" + Pick(kBumped, spanish) + " " +
            std::to_string(q.bumpUp) + ")";
  }
  return line;
}

}  // namespace meeting
