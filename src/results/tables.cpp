#include "results/tables.h"

#include <cmath>
#include <cstddef>

#include "records/numbers.h"
#include "results/wording.h"

namespace results {

std::optional<double> SecondsOf(std::string_view recordTime) {
  if (const auto millis = records::ParseDurationMillis(recordTime)) return static_cast<double>(*millis) / 1000.0;
  // Seconds with a comma: "250,117".
  return records::ParseCommaDecimal(recordTime);
}

Cell Cell::TimeOf(std::string_view recordTime) {
  const auto seconds = SecondsOf(recordTime);
  return seconds ? Time(*seconds) : Cell{};
}

namespace {

// A column: its CSV heading in each language and the word above it.
struct ColumnWords {
  Words key;
  Words label;
  bool seconds;  // the label says the unit
};

constexpr ColumnWords kClassification[] = {{{"posicion", "position"}, words::kPosition, false},
                                           {{"coche", "car"}, words::kCar, false},
                                           {{"vueltas", "laps"}, words::kLaps, false},
                                           {{"tiempo_total_s", "total_time_s"}, words::kTotalTime, true},
                                           {{"vuelta_rapida_s", "fastest_lap_s"}, words::kFastLap, true}};
constexpr ColumnWords kPasses[] = {{{"paso", "pass"}, words::kPass, false},
                                   {{"coche", "car"}, words::kCar, false},
                                   {{"vuelta", "lap"}, words::kLap, false},
                                   {{"tiempo_s", "lap_time_s"}, words::kTime, true},
                                   {{"tiempo_total_s", "total_time_s"}, words::kTotalTime, true}};
constexpr ColumnWords kEvents[] = {{{"incidencia", "event"}, words::kEvent, false},
                                   {{"coche", "car"}, words::kCar, false},
                                   {{"vuelta", "lap"}, words::kLap, false},
                                   {{"tiempo_s", "time_s"}, words::kTime, true},
                                   {{"tipo", "type"}, words::kType, false},
                                   {{"detalle", "detail"}, words::kDetail, false}};

// A heat's race gains its drivers right after the car column; any other
// race's table stays as it always was.
constexpr ColumnWords kDriverColumn{{"piloto", "driver"}, words::kDriver, false};
constexpr std::size_t kCarColumn = 1;

void AddDrivers(Table& table, const RaceSheet& sheet, bool spanish) {
  if (sheet.drivers.empty()) return;
  const auto at = static_cast<std::ptrdiff_t>(kCarColumn + 1);
  table.columns.insert(table.columns.begin() + at,
                       {kDriverColumn.key.Pick(spanish), kDriverColumn.label.Pick(spanish)});
  for (auto& row : table.rows) {
    const Cell& car = row[kCarColumn];
    std::string name = car.kind == Cell::Kind::Whole ? sheet.DriverOf(static_cast<int>(car.whole)) : std::string();
    row.insert(row.begin() + at, name.empty() ? Cell{} : Cell::Text(std::move(name)));
  }
}

template <std::size_t N>
Table Empty(const Words& name, const ColumnWords (&columns)[N], bool spanish) {
  Table table;
  table.name = name.Pick(spanish);
  for (const ColumnWords& column : columns) {
    std::string label = column.label.Pick(spanish);
    if (column.seconds) label += " (s)";
    table.columns.push_back({column.key.Pick(spanish), std::move(label)});
  }
  return table;
}

}  // namespace

Table ClassificationTable(const RaceSheet& sheet, bool spanish) {
  Table table = Empty(words::kClassification, kClassification, spanish);
  for (const auto& row : sheet.classification.rows.items) {
    table.rows.push_back({Cell::Number(row.position), Cell::Number(row.car), Cell::Number(row.laps),
                          Cell::TimeOf(row.total), Cell::Time(row.fastestLap)});
  }
  AddDrivers(table, sheet, spanish);
  return table;
}

Table PassesTable(const RaceSheet& sheet, bool spanish) {
  Table table = Empty(words::kPasses, kPasses, spanish);
  for (const auto& pass : sheet.passes) {
    table.rows.push_back({Cell::Number(pass.pass), Cell::Number(pass.car), Cell::Number(pass.lap),
                          Cell::Time(pass.lapTime), Cell::TimeOf(pass.total)});
  }
  AddDrivers(table, sheet, spanish);
  return table;
}

Table EventsTable(const RaceSheet& sheet, bool spanish) {
  Table table = Empty(words::kEvents, kEvents, spanish);
  for (const auto& event : sheet.events) {
    table.rows.push_back({Cell::Number(event.number), event.hasCar ? Cell::Number(event.car) : Cell{},
                          event.hasLap ? Cell::Number(event.lap) : Cell{}, Cell::TimeOf(event.time),
                          Cell::Text(event.type), event.hasDetail ? Cell::Text(event.detail) : Cell{}});
  }
  return table;
}

std::string ShownText(const Cell& cell, bool spanish) {
  switch (cell.kind) {
    case Cell::Kind::Empty: return {};
    case Cell::Kind::Whole: return std::to_string(cell.whole);
    case Cell::Kind::Seconds:
      if (!std::isfinite(cell.seconds)) return {};
      if (cell.seconds >= 60.0) return DurationText(std::llround(cell.seconds * 1000.0));
      return SecondsForPeople(cell.seconds, spanish);
    case Cell::Kind::Text: return cell.text;
  }
  return {};
}

}  // namespace results
