#include "results/csv.h"

#include <charconv>
#include <cmath>
#include <initializer_list>

#include "records/unfinished_race.h"

namespace results {

namespace {

void Row(std::string& out, std::initializer_list<std::string_view> fields) {
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) out += ',';
    out += CsvField(field);
    first = false;
  }
  out += "\r\n";
}

std::string Whole(long long value) { return std::to_string(value); }

}  // namespace

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string CsvSeconds(double seconds) {
  if (!std::isfinite(seconds)) return {};
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 3);
  if (error != std::errc()) return {};
  return std::string(buffer, end);
}

std::string CsvSecondsOf(std::string_view recordTime) {
  if (const auto millis = records::ParseDurationMillis(recordTime)) return CsvSeconds(static_cast<double>(*millis) / 1000.0);
  // Seconds with a comma: "250,117".
  std::string dotted(recordTime);
  for (char& c : dotted) {
    if (c == ',') c = '.';
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(dotted.data(), dotted.data() + dotted.size(), value);
  if (error != std::errc() || end != dotted.data() + dotted.size() || dotted.empty()) return {};
  return CsvSeconds(value);
}

std::string ClassificationCsv(const RaceSheet& sheet, bool spanish) {
  std::string out;
  if (spanish) {
    Row(out, {"posicion", "coche", "vueltas", "tiempo_total_s", "vuelta_rapida_s"});
  } else {
    Row(out, {"position", "car", "laps", "total_time_s", "fastest_lap_s"});
  }
  for (const auto& row : sheet.classification.rows.items) {
    Row(out, {Whole(row.position), Whole(row.car), Whole(row.laps), CsvSecondsOf(row.total), CsvSeconds(row.fastestLap)});
  }
  return out;
}

std::string PassesCsv(const RaceSheet& sheet, bool spanish) {
  std::string out;
  if (spanish) {
    Row(out, {"paso", "coche", "vuelta", "tiempo_s", "tiempo_total_s"});
  } else {
    Row(out, {"pass", "car", "lap", "lap_time_s", "total_time_s"});
  }
  for (const auto& pass : sheet.passes) {
    Row(out, {Whole(pass.pass), Whole(pass.car), Whole(pass.lap), CsvSeconds(pass.lapTime), CsvSecondsOf(pass.total)});
  }
  return out;
}

std::string EventsCsv(const RaceSheet& sheet, bool spanish) {
  std::string out;
  if (spanish) {
    Row(out, {"incidencia", "coche", "vuelta", "tiempo_s", "tipo", "detalle"});
  } else {
    Row(out, {"event", "car", "lap", "time_s", "type", "detail"});
  }
  for (const auto& event : sheet.events) {
    Row(out, {Whole(event.number), event.hasCar ? Whole(event.car) : std::string(),
              event.hasLap ? Whole(event.lap) : std::string(), CsvSecondsOf(event.time), event.type, event.detail});
  }
  return out;
}

}  // namespace results
