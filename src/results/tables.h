#pragma once
// A race's classification, passes and events as tables of typed cells:
// whole numbers, seconds and texts. The CSV files and the spreadsheet are
// both written from them, so they always hold the same values.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "results/race_sheet.h"

namespace results {

struct Cell {
  enum class Kind { Empty, Whole, Seconds, Text };
  Kind kind = Kind::Empty;
  long long whole = 0;
  double seconds = 0.0;
  std::string text;

  static Cell Number(long long value) { return {Kind::Whole, value, 0.0, {}}; }
  static Cell Time(double value) { return {Kind::Seconds, 0, value, {}}; }
  static Cell Text(std::string value) { return {Kind::Text, 0, 0.0, std::move(value)}; }
  // Seconds from a record time text; empty when the text is no time.
  static Cell TimeOf(std::string_view recordTime);
};

struct Column {
  std::string key;    // the CSV heading: lower case, no blanks, unit in the name
  std::string label;  // what a person reads above the column
};

struct Table {
  std::string name;  // the spreadsheet's sheet
  std::vector<Column> columns;
  std::vector<std::vector<Cell>> rows;
};

// Seconds from a duration or a seconds text as the record files write them
// ("01'27\"310", "1h 03'07\"042", "250,117"); nothing when the text is no time.
std::optional<double> SecondsOf(std::string_view recordTime);

// A cell as a person reads it: seconds of a minute or more as a duration
// (01'27"310), shorter ones with the language's decimal mark (27,310).
std::string ShownText(const Cell& cell, bool spanish);

// A race with drivers (a meeting heat's) has a driver column after the car's
// in its classification and its passes.
Table ClassificationTable(const RaceSheet& sheet, bool spanish);
Table PassesTable(const RaceSheet& sheet, bool spanish);
Table EventsTable(const RaceSheet& sheet, bool spanish);

}  // namespace results
