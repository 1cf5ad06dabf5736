#pragma once
// The layout every printed report shares: the day, the race's description
// and details, the report's title, a heading line, one line per table row and
// a closing empty line. Cells and headings end with a TAB, which lines the
// columns up at the tab stops.

#include <string>
#include <vector>

#include "printing/line_printer.h"

namespace printing {

// One report as the window shows it, in UTF-8; texts are already in the
// current language.
struct Report {
  std::string day;          // the day chosen in the files browser, e.g. 261206
  std::string description;  // the race's description line
  std::string details;      // the race's details line
  std::string title;        // e.g. "Clasificación" or "Passes by car"
  std::vector<std::string> headings;
  std::vector<std::vector<std::string>> rows;  // cells as shown, leading blanks kept
  std::string jobName = "TRELVIX";             // the job's name in the printer's queue
};

// The "Fecha: " / "Date: " line's opening words.
const char* DateLabel(bool spanish) noexcept;

// Letters A to Z to a to z, every other byte as it is: how an ordering's
// caption goes into a title ("Passes by car").
std::string LowerAsciiLetters(std::string text);

// Writes the whole report and closes the job.
void WriteReport(LinePrinter& printer, const Report& report, bool spanish);

}  // namespace printing
