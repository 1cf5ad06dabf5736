#pragma once
// A delimited text file as rows of fields: UTF-8 (with or without a byte
// order mark) or else Windows-1252, comma or semicolon as the header row
// says, RFC 4180 quoting. Bounded: whatever the bytes, the rows, fields and
// field lengths kept are limited.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace meeting {

enum class TextEncoding { Utf8, Windows1252 };

struct CsvRow {
  int row = 0;  // 1 for the header; counted as a spreadsheet counts rows
  std::vector<std::string> fields;  // UTF-8, as read (not tidied)
  bool malformed = false;     // an unclosed quote, or text after a closing quote
  bool fieldTooLong = false;  // a field was cut at kMaxCsvFieldBytes
  bool tooManyFields = false; // fields past kMaxCsvFields were dropped
  bool Blank() const noexcept;  // every field empty
};

struct CsvTable {
  TextEncoding encoding = TextEncoding::Utf8;
  char delimiter = ',';
  std::vector<CsvRow> rows;  // the header first
  bool tooManyRows = false;  // reading stopped after kMaxCsvRows rows
};

inline constexpr std::size_t kMaxCsvFieldBytes = 256;
inline constexpr std::size_t kMaxCsvFields = 32;
inline constexpr std::size_t kMaxCsvRows = 5001;  // the header and 5000 rows

// The text in UTF-8: without a byte order mark when it is valid UTF-8,
// otherwise read as Windows-1252.
std::string DecodeText(std::string_view bytes, TextEncoding* encoding);

// The semicolon when the first row holds more semicolons than commas outside
// quotes, else the comma.
char DetectDelimiter(std::string_view utf8);

CsvTable ReadCsv(std::string_view bytes);

}  // namespace meeting
