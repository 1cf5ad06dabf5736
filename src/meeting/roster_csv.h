#pragma once
// The roster to and from a CSV file. An import is a plan computed against
// the roster as it stands: drivers added, drivers changed, rows that change
// nothing and rows refused, each with its row number. The caller shows the
// plan and applies it whole, in one transaction, or not at all.
//
// Columns are found by the header row, in Spanish or English, in any order
// and letter case (see ColumnOf). Only the name column is needed. A driver
// is known by the name (MatchKey: letter case and blanks aside): a row with
// the name of a roster driver changes that driver; a column the file lacks,
// and an empty short name, leave the driver's value as it is. A race number
// must be free in its class once the import is done.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "meeting/csv_table.h"
#include "meeting/driver.h"

namespace meeting {

enum class RosterColumn { Name, ShortName, Number, Class, Active };

// The column a heading names, or nothing: "nombre"/"name"/"piloto"/"driver",
// "abreviatura"/"corto"/"nombre corto"/"short"/"short name",
// "número"/"numero"/"dorsal"/"nº"/"number"/"no."/"#", "clase"/"categoría"/
// "class"/"category", "activo"/"active".
std::optional<RosterColumn> ColumnOf(std::string_view heading);

// The whole file refused: nothing in it is imported.
enum class ImportFailure {
  None,
  TooLarge,          // over kMaxRosterFileBytes
  TooManyRows,       // over kMaxCsvRows - 1 rows after the header
  NoNameColumn,      // no header row, or none of its headings names the name
  DuplicateColumn,   // two headings name the same column
};

inline constexpr std::size_t kMaxRosterFileBytes = 1 << 20;

enum class RowProblem {
  Malformed,       // quotes that do not close, or text after a closing quote
  TooManyFields,   // text in fields past the header's headings
  FieldTooLong,    // a field over kMaxCsvFieldBytes
  MissingName,
  NameTooLong,
  ShortNameTooLong,
  ClassTooLong,
  BadNumber,
  BadActive,       // not one of the yes and no words
  ControlCharacter,
  DuplicateName,   // an earlier row has the same name
  NumberTaken,     // the number is another driver's in the same class
};

struct RefusedRow {
  int row = 0;
  RowProblem problem = RowProblem::Malformed;
  std::string name;        // the row's name as read, tidied, maybe empty
  int otherRow = 0;        // the earlier row with the same name or number
  std::string otherName;   // the roster driver that holds the number
};

struct AddedDriver {
  int row = 0;
  Driver driver;  // id 0
};

struct ChangedDriver {
  int row = 0;
  Driver before;
  Driver after;  // same id
};

struct ImportPlan {
  ImportFailure failure = ImportFailure::None;
  TextEncoding encoding = TextEncoding::Utf8;
  char delimiter = ',';
  std::vector<std::string> ignoredColumns;  // headings no column answers to
  std::vector<AddedDriver> added;
  std::vector<ChangedDriver> changed;
  std::vector<int> unchangedRows;
  std::vector<RefusedRow> refused;  // by row
  bool HasChanges() const noexcept { return !added.empty() || !changed.empty(); }
};

ImportPlan PlanRosterImport(std::string_view bytes, const std::vector<Driver>& roster);

// The roster after the plan: changed drivers replaced, added ones appended
// with ids firstNewId, firstNewId + 1, ... What a store does in its
// transaction; here for the window's preview and the tests.
std::vector<Driver> ApplyImport(std::vector<Driver> roster, const ImportPlan& plan, DriverId firstNewId);

// Every driver, in the roster's order: UTF-8 without a byte order mark, a
// header row in the chosen language, commas, RFC 4180 quoting, CRLF. The
// import reads it back unchanged.
std::string RosterCsv(const std::vector<Driver>& roster, bool spanish);

}  // namespace meeting
