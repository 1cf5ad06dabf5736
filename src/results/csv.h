#pragma once
// A race's tables for spreadsheets: UTF-8 with a byte-order mark, a header
// row, RFC 4180 quoting and CRLF line ends. A Spanish export separates its
// fields with ';' and writes seconds with a comma, an English one uses ','
// and a point: what a spreadsheet of that language takes on a double-click.
// A text that a spreadsheet would run as a formula is made plain text.

#include <string>
#include <string_view>

#include "results/race_sheet.h"
#include "results/tables.h"

namespace results {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The field separator of a language's CSV.
char CsvSeparator(bool spanish) noexcept;

// One field, quoted when it holds the separator, a quote, CR or LF.
std::string CsvField(std::string_view text, char separator = ',');

// A text that begins with '=', '+', '-', '@', TAB or CR gets a leading
// apostrophe, so that no spreadsheet takes it for a formula; a plain
// number ("-5", "+3,5") stays as it is.
std::string NeutralisedText(std::string_view text);

// Seconds with three decimals and the language's decimal mark.
std::string CsvSeconds(double seconds, bool spanish);

// The whole file: the mark, the headings (the columns' keys) and the rows.
std::string Csv(const Table& table, bool spanish);

std::string ClassificationCsv(const RaceSheet& sheet, bool spanish);
std::string PassesCsv(const RaceSheet& sheet, bool spanish);
std::string EventsCsv(const RaceSheet& sheet, bool spanish);

}  // namespace results
