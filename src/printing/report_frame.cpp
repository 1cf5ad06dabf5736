#include "printing/report_frame.h"

#include "records/words.h"

namespace printing {

namespace {

constexpr records::Words kDateLabel{"Fecha: ", "Date: "};

void WriteCells(LinePrinter& printer, const std::vector<std::string>& cells) {
  for (const auto& cell : cells) {
    printer.Write(cell);
    printer.Write("\t");
  }
  printer.EndLine();
}

}  // namespace

const char* DateLabel(bool spanish) noexcept { return kDateLabel.Pick(spanish); }

std::string LowerAsciiLetters(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void WriteReport(LinePrinter& printer, const Report& report, bool spanish) {
  printer.Write(DateLabel(spanish));
  printer.Write(report.day);
  printer.EndLine();
  printer.Write(report.description);
  printer.EndLine();
  printer.Write(report.details);
  printer.EndLine();
  printer.Write(report.title);
  printer.EndLine();
  WriteCells(printer, report.headings);
  for (const auto& row : report.rows) WriteCells(printer, row);
  printer.EndLine();
  printer.Close();
}

}  // namespace printing
