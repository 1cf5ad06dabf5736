#include "results/tables.h"

#include <cmath>

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
  const char* keyEs;
  const char* keyEn;
  Word label;
  bool seconds;  // the label says the unit
};

constexpr ColumnWords kClassification[] = {{"posicion", "position", Word::Position, false},
                                           {"coche", "car", Word::Car, false},
                                           {"vueltas", "laps", Word::Laps, false},
                                           {"tiempo_total_s", "total_time_s", Word::TotalTime, true},
                                           {"vuelta_rapida_s", "fastest_lap_s", Word::FastLap, true}};
constexpr ColumnWords kPasses[] = {{"paso", "pass", Word::Pass, false},
                                   {"coche", "car", Word::Car, false},
                                   {"vuelta", "lap", Word::Lap, false},
                                   {"tiempo_s", "lap_time_s", Word::Time, true},
                                   {"tiempo_total_s", "total_time_s", Word::TotalTime, true}};
constexpr ColumnWords kEvents[] = {{"incidencia", "event", Word::Event, false},
                                   {"coche", "car", Word::Car, false},
                                   {"vuelta", "lap", Word::Lap, false},
                                   {"tiempo_s", "time_s", Word::Time, true},
                                   {"tipo", "type", Word::Type, false},
                                   {"detalle", "detail", Word::Detail, false}};

template <std::size_t N>
Table Empty(Word name, const ColumnWords (&columns)[N], bool spanish) {
  Table table;
  table.name = Say(name, spanish);
  for (const ColumnWords& column : columns) {
    std::string label = Say(column.label, spanish);
    if (column.seconds) label += " (s)";
    table.columns.push_back({spanish ? column.keyEs : column.keyEn, std::move(label)});
  }
  return table;
}

}  // namespace

Table ClassificationTable(const RaceSheet& sheet, bool spanish) {
  Table table = Empty(Word::Classification, kClassification, spanish);
  for (const auto& row : sheet.classification.rows.items) {
    table.rows.push_back({Cell::Number(row.position), Cell::Number(row.car), Cell::Number(row.laps),
                          Cell::TimeOf(row.total), Cell::Time(row.fastestLap)});
  }
  return table;
}

Table PassesTable(const RaceSheet& sheet, bool spanish) {
  Table table = Empty(Word::Passes, kPasses, spanish);
  for (const auto& pass : sheet.passes) {
    table.rows.push_back({Cell::Number(pass.pass), Cell::Number(pass.car), Cell::Number(pass.lap),
                          Cell::Time(pass.lapTime), Cell::TimeOf(pass.total)});
  }
  return table;
}

Table EventsTable(const RaceSheet& sheet, bool spanish) {
  Table table = Empty(Word::Events, kEvents, spanish);
  for (const auto& event : sheet.events) {
    table.rows.push_back({Cell::Number(event.number), event.hasCar ? Cell::Number(event.car) : Cell{},
                          event.hasLap ? Cell::Number(event.lap) : Cell{}, Cell::TimeOf(event.time),
                          Cell::Text(event.type), event.hasDetail ? Cell::Text(event.detail) : Cell{}});
  }
  return table;
}

}  // namespace results
