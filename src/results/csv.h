#pragma once
// A race's tables for spreadsheets: UTF-8, a header row, commas between
// fields, dot decimals, RFC 4180 quoting and CRLF line ends. Times are
// seconds as plain numbers.

#include <string>
#include <string_view>

#include "results/race_sheet.h"

namespace results {

// One field, quoted when it holds a comma, a quote, CR or LF.
std::string CsvField(std::string_view text);

// Seconds with three decimals and a dot; from a duration or a seconds text
// as the record files write them ("01'27\"310", "1h 03'07\"042", "250,117").
// Empty when the text is no time.
std::string CsvSeconds(double seconds);
std::string CsvSecondsOf(std::string_view recordTime);

std::string ClassificationCsv(const RaceSheet& sheet, bool spanish);
std::string PassesCsv(const RaceSheet& sheet, bool spanish);
std::string EventsCsv(const RaceSheet& sheet, bool spanish);

}  // namespace results
