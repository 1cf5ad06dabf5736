#include "meeting/csv_table.h"

#include "meeting/text.h"
#include "records/cp1252.h"

namespace meeting {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool EndOfLine(char c) noexcept { return c == '\r' || c == '\n'; }

// A field cut at its limit may end in part of a character: that part goes.
void DropCutCharacter(std::string& field) {
  std::size_t lead = field.size();
  while (lead > 0 && (static_cast<unsigned char>(field[lead - 1]) & 0xC0) == 0x80) --lead;
  if (lead == 0) return;
  const auto b = static_cast<unsigned char>(field[lead - 1]);
  const std::size_t length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
  if (lead - 1 + length > field.size()) field.resize(lead - 1);
}

// Reads rows from a decoded text, one field at a time.
class RowReader final {
 public:
  RowReader(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}
  bool AtEnd() const noexcept { return at_ >= text_.size(); }

  CsvRow Next(int number) {
    CsvRow row;
    row.row = number;
    for (;;) {
      std::string field;
      if (at_ < text_.size() && text_[at_] == '"') {
        QuotedField(row, field);
      } else {
        while (at_ < text_.size() && text_[at_] != delimiter_ && !EndOfLine(text_[at_])) Append(row, field, text_[at_++]);
      }
      if (row.fields.size() < kMaxCsvFields) {
        if (field.size() == kMaxCsvFieldBytes) DropCutCharacter(field);
        row.fields.push_back(std::move(field));
      } else {
        row.tooManyFields = true;
      }
      if (at_ < text_.size() && text_[at_] == delimiter_) {
        ++at_;
        continue;
      }
      break;
    }
    if (at_ < text_.size() && text_[at_] == '\r') ++at_;
    if (at_ < text_.size() && text_[at_] == '\n') ++at_;
    return row;
  }

 private:
  static void Append(CsvRow& row, std::string& field, char c) {
    if (field.size() < kMaxCsvFieldBytes) {
      field += c;
    } else {
      row.fieldTooLong = true;
    }
  }

  void QuotedField(CsvRow& row, std::string& field) {
    ++at_;
    for (;;) {
      if (at_ >= text_.size()) {
        row.malformed = true;  // the quote never closes
        return;
      }
      const char c = text_[at_++];
      if (c != '"') {
        Append(row, field, c);
      } else if (at_ < text_.size() && text_[at_] == '"') {
        Append(row, field, '"');
        ++at_;
      } else {
        break;
      }
    }
    while (at_ < text_.size() && text_[at_] != delimiter_ && !EndOfLine(text_[at_])) {
      row.malformed = true;
      ++at_;
    }
  }

  std::string_view text_;
  char delimiter_;
  std::size_t at_ = 0;
};

}  // namespace

bool CsvRow::Blank() const noexcept {
  for (const auto& f : fields) {
    if (!Tidy(f).empty()) return false;
  }
  return true;
}

std::string DecodeText(std::string_view bytes, TextEncoding* encoding) {
  std::string_view body = bytes;
  if (body.substr(0, kByteOrderMark.size()) == kByteOrderMark) body.remove_prefix(kByteOrderMark.size());
  if (IsUtf8(body)) {
    if (encoding) *encoding = TextEncoding::Utf8;
    return std::string(body);
  }
  if (encoding) *encoding = TextEncoding::Windows1252;
  return records::Cp1252ToUtf8(body);
}

char DetectDelimiter(std::string_view utf8) {
  int commas = 0;
  int semicolons = 0;
  bool quoted = false;
  for (char c : utf8) {
    if (c == '"') quoted = !quoted;  // a doubled quote toggles twice
    if (quoted) continue;
    if (EndOfLine(c)) break;
    if (c == ',') ++commas;
    if (c == ';') ++semicolons;
  }
  return semicolons > commas ? ';' : ',';
}

CsvTable ReadCsv(std::string_view bytes) {
  CsvTable table;
  const std::string text = DecodeText(bytes, &table.encoding);
  table.delimiter = DetectDelimiter(text);
  RowReader reader(text, table.delimiter);
  while (!reader.AtEnd()) {
    if (table.rows.size() == kMaxCsvRows) {
      table.tooManyRows = true;
      break;
    }
    table.rows.push_back(reader.Next(static_cast<int>(table.rows.size()) + 1));
  }
  return table;
}

}  // namespace meeting
