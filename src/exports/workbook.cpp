#include "exports/workbook.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <xlsxwriter.h>

namespace exports {

namespace {

// libxlsxwriter writes by file name: into a folder only this process can
// enter, read back, then written where it belongs like every other file.
class Workbook final {
 public:
  Workbook(const QByteArray& path, const QByteArray& scratch) : scratch_(scratch) {
    lxw_workbook_options options{};
    options.tmpdir = scratch_.data();
    book_ = workbook_new_opt(path.constData(), &options);
  }
  ~Workbook() {
    if (book_ != nullptr) workbook_close(book_);
  }
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  lxw_workbook* get() const noexcept { return book_; }
  lxw_error Close() {
    const lxw_error result = workbook_close(book_);
    book_ = nullptr;
    return result;
  }

 private:
  QByteArray scratch_;
  lxw_workbook* book_ = nullptr;
};

double Width(std::size_t characters) { return static_cast<double>(std::clamp<std::size_t>(characters, 6, 60)) + 2; }

}  // namespace

QByteArray ResultsWorkbook(const std::vector<results::Table>& tables, const std::string& title, std::string& error) {
  QTemporaryDir scratch;
  if (!scratch.isValid()) {
    error = scratch.errorString().toStdString();
    return {};
  }
  const QString path = scratch.filePath(QStringLiteral("results.xlsx"));
  {
    Workbook book(QFile::encodeName(path), QFile::encodeName(scratch.path()));
    if (book.get() == nullptr) {
      error = "the spreadsheet could not be started";
      return {};
    }
    lxw_doc_properties properties{};
    std::string titleText = title;
    std::string creator = "TRELVIX";
    properties.title = titleText.data();
    properties.author = creator.data();
    workbook_set_properties(book.get(), &properties);
    lxw_format* heading = workbook_add_format(book.get());
    format_set_bold(heading);
    format_set_bottom(heading, LXW_BORDER_THIN);
    lxw_format* seconds = workbook_add_format(book.get());
    format_set_num_format(seconds, "0.000");

    for (const results::Table& table : tables) {
      lxw_worksheet* sheet = workbook_add_worksheet(book.get(), table.name.c_str());
      if (sheet == nullptr) {
        error = "the sheet " + table.name + " could not be added";
        return {};
      }
      std::vector<std::size_t> widths(table.columns.size(), 0);
      for (std::size_t c = 0; c < table.columns.size(); ++c) {
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), table.columns[c].label.c_str(), heading);
        widths[c] = table.columns[c].label.size();
      }
      for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto row = static_cast<lxw_row_t>(r + 1);
        for (std::size_t c = 0; c < table.rows[r].size() && c < widths.size(); ++c) {
          const results::Cell& cell = table.rows[r][c];
          const auto column = static_cast<lxw_col_t>(c);
          switch (cell.kind) {
            case results::Cell::Kind::Empty: break;
            case results::Cell::Kind::Whole:
              worksheet_write_number(sheet, row, column, static_cast<double>(cell.whole), nullptr);
              break;
            case results::Cell::Kind::Seconds: worksheet_write_number(sheet, row, column, cell.seconds, seconds); break;
            case results::Cell::Kind::Text:
              worksheet_write_string(sheet, row, column, cell.text.c_str(), nullptr);
              widths[c] = std::max(widths[c], cell.text.size());
              break;
          }
        }
      }
      for (std::size_t c = 0; c < widths.size(); ++c) {
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), Width(widths[c]), nullptr);
      }
      worksheet_freeze_panes(sheet, 1, 0);
    }
    const lxw_error closed = book.Close();
    if (closed != LXW_NO_ERROR) {
      error = lxw_strerror(closed);
      return {};
    }
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = file.errorString().toStdString();
    return {};
  }
  QByteArray bytes = file.readAll();
  if (bytes.size() != file.size() || !bytes.startsWith("PK")) {
    error = "the spreadsheet could not be read back";
    return {};
  }
  return bytes;
}

}  // namespace exports
