#include "meeting/roster_csv.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "meeting/text.h"
#include "meeting/texts.h"

namespace meeting {
namespace {

constexpr int kColumns = 5;

struct Heading {
  const char* text;
  RosterColumn column;
};

constexpr std::array<Heading, 24> kHeadings{{
    {"nombre", RosterColumn::Name},           {"name", RosterColumn::Name},
    {"piloto", RosterColumn::Name},           {"driver", RosterColumn::Name},
    {"abreviatura", RosterColumn::ShortName}, {"corto", RosterColumn::ShortName},
    {"nombre corto", RosterColumn::ShortName}, {"short", RosterColumn::ShortName},
    {"short name", RosterColumn::ShortName},  {"número", RosterColumn::Number},
    {"numero", RosterColumn::Number},         {"dorsal", RosterColumn::Number},
    {"nº", RosterColumn::Number},             {"number", RosterColumn::Number},
    {"no.", RosterColumn::Number},            {"#", RosterColumn::Number},
    {"clase", RosterColumn::Class},           {"categoría", RosterColumn::Class},
    {"categoria", RosterColumn::Class},       {"class", RosterColumn::Class},
    {"category", RosterColumn::Class},        {"activo", RosterColumn::Active},
    {"active", RosterColumn::Active},         {"race number", RosterColumn::Number},
}};

constexpr std::array<const char*, 11> kYes{"sí", "si", "s", "yes", "y", "1", "true", "verdadero", "x", "activo", "active"};
constexpr std::array<const char*, 8> kNo{"no", "n", "0", "false", "falso", "inactivo", "inactive", "-"};

std::optional<bool> ParseActive(std::string_view text) {
  const std::string key = MatchKey(text);
  for (const char* w : kYes) {
    if (key == w) return true;
  }
  for (const char* w : kNo) {
    if (key == w) return false;
  }
  return std::nullopt;
}

// Where each column is in the file's rows, -1 when the file lacks it.
struct Layout {
  std::array<int, kColumns> at{-1, -1, -1, -1, -1};
  std::size_t headings = 0;
  bool Has(RosterColumn c) const noexcept { return at[static_cast<int>(c)] >= 0; }
  std::string Field(const CsvRow& row, RosterColumn c) const {
    const int i = at[static_cast<int>(c)];
    if (i < 0 || static_cast<std::size_t>(i) >= row.fields.size()) return {};
    return Tidy(row.fields[static_cast<std::size_t>(i)]);
  }
};

// One row read into what it would set; nothing for a column the file lacks.
struct RowValues {
  int row = 0;
  std::string name;
  std::string shortName;
  std::optional<std::optional<int>> number;
  std::optional<std::string> className;
  std::optional<bool> active;
};

std::optional<RowProblem> ReadRow(const CsvRow& row, const Layout& layout, RowValues& out) {
  out.row = row.row;
  out.name = layout.Field(row, RosterColumn::Name);
  if (row.malformed) return RowProblem::Malformed;
  if (row.tooManyFields) return RowProblem::TooManyFields;
  for (std::size_t i = layout.headings; i < row.fields.size(); ++i) {
    if (!Tidy(row.fields[i]).empty()) return RowProblem::TooManyFields;  // empty ones are a spreadsheet's habit
  }
  if (row.fieldTooLong) return RowProblem::FieldTooLong;
  std::array<std::string, kColumns> text;
  for (int c = 0; c < kColumns; ++c) {
    text[static_cast<std::size_t>(c)] = layout.Field(row, static_cast<RosterColumn>(c));
    if (HasControl(text[static_cast<std::size_t>(c)])) return RowProblem::ControlCharacter;
  }
  out.shortName = text[1];
  if (out.name.empty()) return RowProblem::MissingName;
  if (CharCount(out.name) > kMaxNameChars) return RowProblem::NameTooLong;
  if (CharCount(out.shortName) > kMaxShortNameChars) return RowProblem::ShortNameTooLong;
  if (layout.Has(RosterColumn::Class)) {
    if (CharCount(text[3]) > kMaxClassChars) return RowProblem::ClassTooLong;
    out.className = text[3];
  }
  if (layout.Has(RosterColumn::Number)) {
    out.number = std::optional<int>();
    if (!text[2].empty()) {
      *out.number = ParseRaceNumber(text[2]);
      if (!*out.number) return RowProblem::BadNumber;
    }
  }
  if (layout.Has(RosterColumn::Active) && !text[4].empty()) {
    out.active = ParseActive(text[4]);
    if (!out.active) return RowProblem::BadActive;
  }
  return std::nullopt;
}

Driver Merged(const RowValues& v, const Driver* before) {
  Driver d;
  if (before) d = *before;
  d.name = v.name;
  if (!v.shortName.empty()) d.shortName = v.shortName;
  if (d.shortName.empty()) d.shortName = MakeShortName(v.name);
  if (v.number) d.number = *v.number;
  if (v.className) d.className = *v.className;
  if (v.active) d.active = *v.active;
  return d;
}

// A row that passed its own checks, with the driver it would leave.
struct Candidate {
  int row = 0;
  const Driver* before = nullptr;  // the roster driver it changes, or none
  Driver after;
  bool refused = false;
};

std::string NumberKey(const Driver& d) { return MatchKey(d.className) + '\n' + std::to_string(*d.number); }

// Refuses rows whose number another driver holds once the import is done:
// a roster driver the file leaves alone, or an earlier row. A refused row
// leaves its driver with the old number, which may clash anew, so the
// check runs until nothing more is refused.
void RefuseTakenNumbers(std::vector<Candidate>& rows, const std::vector<Driver>& roster,
                        std::vector<RefusedRow>& refused) {
  for (bool again = true; again;) {
    again = false;
    std::set<const Driver*> touched;
    for (const auto& c : rows) {
      if (!c.refused && c.before) touched.insert(c.before);
    }
    struct Holder {
      int row = 0;
      const Driver* driver = nullptr;
    };
    std::map<std::string, Holder> holders;
    for (const auto& d : roster) {
      if (d.number && !touched.count(&d)) holders.emplace(NumberKey(d), Holder{0, &d});
    }
    for (auto& c : rows) {
      if (c.refused || !c.after.number) continue;
      const auto [it, fresh] = holders.emplace(NumberKey(c.after), Holder{c.row, nullptr});
      if (fresh) continue;
      c.refused = again = true;
      refused.push_back({c.row, RowProblem::NumberTaken, c.after.name, it->second.row,
                         it->second.driver ? it->second.driver->name : std::string()});
    }
  }
}

std::optional<Layout> ReadHeader(const CsvRow& header, ImportPlan& plan) {
  Layout layout;
  layout.headings = header.fields.size();
  if (header.malformed || header.tooManyFields) return std::nullopt;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const auto column = ColumnOf(header.fields[i]);
    if (!column) {
      if (!Tidy(header.fields[i]).empty()) plan.ignoredColumns.push_back(FirstChars(Tidy(header.fields[i]), 40));
      continue;
    }
    int& at = layout.at[static_cast<int>(*column)];
    if (at >= 0) {
      plan.failure = ImportFailure::DuplicateColumn;
      return std::nullopt;
    }
    at = static_cast<int>(i);
  }
  if (!layout.Has(RosterColumn::Name)) return std::nullopt;
  return layout;
}

}  // namespace

std::optional<RosterColumn> ColumnOf(std::string_view heading) {
  const std::string key = MatchKey(heading);
  for (const auto& h : kHeadings) {
    if (key == h.text) return h.column;
  }
  return std::nullopt;
}

ImportPlan PlanRosterImport(std::string_view bytes, const std::vector<Driver>& roster) {
  ImportPlan plan;
  if (bytes.size() > kMaxRosterFileBytes) {
    plan.failure = ImportFailure::TooLarge;
    return plan;
  }
  const CsvTable table = ReadCsv(bytes);
  plan.encoding = table.encoding;
  plan.delimiter = table.delimiter;
  if (table.tooManyRows) {
    plan.failure = ImportFailure::TooManyRows;
    return plan;
  }
  auto header = std::find_if(table.rows.begin(), table.rows.end(), [](const CsvRow& r) { return !r.Blank(); });
  const auto layout = header == table.rows.end() ? std::nullopt : ReadHeader(*header, plan);
  if (!layout) {
    if (plan.failure == ImportFailure::None) plan.failure = ImportFailure::NoNameColumn;
    return plan;
  }

  std::map<std::string, const Driver*> byName;
  for (const auto& d : roster) byName.emplace(MatchKey(d.name), &d);
  std::map<std::string, int> firstRowOf;
  std::vector<Candidate> candidates;
  for (auto row = header + 1; row != table.rows.end(); ++row) {
    if (row->Blank()) continue;
    RowValues values;
    auto problem = ReadRow(*row, *layout, values);
    const std::string key = MatchKey(values.name);
    int earlier = 0;
    if (!key.empty()) {
      const auto [it, fresh] = firstRowOf.emplace(key, row->row);
      if (!fresh && !problem) problem = RowProblem::DuplicateName;
      earlier = fresh ? 0 : it->second;
    }
    if (problem) {
      plan.refused.push_back({row->row, *problem, values.name, *problem == RowProblem::DuplicateName ? earlier : 0, {}});
      continue;
    }
    const auto existing = byName.find(key);
    const Driver* before = existing == byName.end() ? nullptr : existing->second;
    Candidate c{row->row, before, Merged(values, before), false};
    if (before && c.after == *before) {
      plan.unchangedRows.push_back(row->row);
      continue;
    }
    candidates.push_back(std::move(c));
  }

  RefuseTakenNumbers(candidates, roster, plan.refused);
  for (auto& c : candidates) {
    if (c.refused) continue;
    if (c.before) {
      plan.changed.push_back({c.row, *c.before, std::move(c.after)});
    } else {
      plan.added.push_back({c.row, std::move(c.after)});
    }
  }
  std::sort(plan.refused.begin(), plan.refused.end(),
            [](const RefusedRow& a, const RefusedRow& b) { return a.row < b.row; });
  return plan;
}

std::vector<Driver> ApplyImport(std::vector<Driver> roster, const ImportPlan& plan, DriverId firstNewId) {
  for (const auto& change : plan.changed) {
    for (auto& d : roster) {
      if (d.id == change.before.id && d == change.before) d = change.after;
    }
  }
  for (const auto& add : plan.added) {
    roster.push_back(add.driver);
    roster.back().id = firstNewId++;
  }
  return roster;
}

std::string RosterCsv(const std::vector<Driver>& roster, bool spanish) {
  const auto field = [](std::string_view text) {
    if (text.find_first_of(",;\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
      if (c == '"') quoted += '"';
      quoted += c;
    }
    return quoted + '"';
  };
  std::string out = std::string(words::kRosterHeader.Pick(spanish)) + "\r\n";
  for (const auto& d : roster) {
    out += field(d.name) + ',' + field(d.shortName) + ',' + (d.number ? std::to_string(*d.number) : std::string()) +
           ',' + field(d.className) + ',' + (d.active ? words::kYes : words::kNo).Pick(spanish) + "\r\n";
  }
  return out;
}

}  // namespace meeting
