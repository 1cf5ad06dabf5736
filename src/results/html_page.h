#pragma once
// A race's results as one self-contained HTML page for a club's website:
// the classification, each car's fastest lap, the lap table and the charts,
// with no external file of any kind.

#include <string>
#include <string_view>
#include <vector>

#include "results/race_sheet.h"

namespace results {

struct PageImage {
  std::string caption;  // shown under the image and as its alternative text
  std::string mime;     // "image/svg+xml" or "image/png"
  std::string bytes;
};

std::string HtmlEscaped(std::string_view text);
std::string Base64(std::string_view bytes);

std::string ResultsPage(const RaceSheet& sheet, bool spanish, const std::vector<PageImage>& images);

}  // namespace results
