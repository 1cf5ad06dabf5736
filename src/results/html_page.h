#pragma once
// A race's results as one self-contained HTML page for a club's website:
// the classification, each car's fastest lap, the lap table, the events with
// their manual texts and the charts, with no external file of any kind. The
// same page, without its pictures, is what the results document prints.

#include <string>
#include <string_view>
#include <vector>

#include "results/race_sheet.h"
#include "results/tables.h"

namespace results {

struct PageImage {
  std::string caption;  // shown under the image and as its alternative text
  std::string mime;     // "image/svg+xml" or "image/png"
  std::string bytes;
};

std::string HtmlEscaped(std::string_view text);
std::string Base64(std::string_view bytes);

// The page's title: "Carrera 26120601 · description".
std::string PageTitle(const RaceSheet& sheet, bool spanish);

std::string ResultsPage(const RaceSheet& sheet, bool spanish, const std::vector<PageImage>& images);

// The page's title and content without its pictures, laid out
// for Qt's rich text, which prints it: its tables repeat their heading row
// on every page.
std::string PrintedBody(const RaceSheet& sheet, bool spanish);

// Pages of typed tables under headings, such as a club meeting's sheets:
// a self-contained page, and the same for Qt's rich text to print.
struct TableSection {
  std::string heading;
  const Table* table = nullptr;  // not owned
};
std::string TablesPage(const std::string& title, const std::vector<std::string>& lines,
                       const std::vector<TableSection>& sections, bool spanish);
std::string PrintedTables(const std::string& title, const std::vector<std::string>& lines,
                          const std::vector<TableSection>& sections, bool spanish);

}  // namespace results
