#include "results/csv.h"

#include "results/wording.h"

namespace results {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// An optional sign, digits, and optionally a point or a comma and digits.
bool PlainNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  const std::size_t digits = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == digits) return false;
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    const std::size_t decimals = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == decimals) return false;
  }
  return i == text.size();
}

std::string CellText(const Cell& cell, bool spanish) {
  switch (cell.kind) {
    case Cell::Kind::Empty: return {};
    case Cell::Kind::Whole: return std::to_string(cell.whole);
    case Cell::Kind::Seconds: return CsvSeconds(cell.seconds, spanish);
    case Cell::Kind::Text: return NeutralisedText(cell.text);
  }
  return {};
}

}  // namespace

char CsvSeparator(bool spanish) noexcept { return spanish ? ';' : ','; }

std::string CsvField(std::string_view text, char separator) {
  if (text.find_first_of("\"\r\n") == std::string_view::npos && text.find(separator) == std::string_view::npos) {
    return std::string(text);
  }
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string NeutralisedText(std::string_view text) {
  if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos || PlainNumber(text)) {
    return std::string(text);
  }
  return "'" + std::string(text);
}

std::string CsvSeconds(double seconds, bool spanish) { return SecondsForPeople(seconds, spanish); }

std::string Csv(const Table& table, bool spanish) {
  const char separator = CsvSeparator(spanish);
  std::string out(kUtf8Bom);
  auto row = [&out, separator](const auto& cells, auto text) {
    bool first = true;
    for (const auto& cell : cells) {
      if (!first) out += separator;
      out += CsvField(text(cell), separator);
      first = false;
    }
    out += "\r\n";
  };
  row(table.columns, [](const Column& column) { return column.key; });
  for (const auto& cells : table.rows) row(cells, [spanish](const Cell& cell) { return CellText(cell, spanish); });
  return out;
}

std::string ClassificationCsv(const RaceSheet& sheet, bool spanish) { return Csv(ClassificationTable(sheet, spanish), spanish); }
std::string PassesCsv(const RaceSheet& sheet, bool spanish) { return Csv(PassesTable(sheet, spanish), spanish); }
std::string EventsCsv(const RaceSheet& sheet, bool spanish) { return Csv(EventsTable(sheet, spanish), spanish); }

}  // namespace results
