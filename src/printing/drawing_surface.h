#pragma once
// The page a LinePrinter draws on: its measures in device units and the few
// drawing steps it needs. Texts are UTF-8.

#include <string_view>

namespace printing {

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // The printable area of a page, fixed for the whole job.
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;

  // Measures in the printer font.
  virtual int TextWidth(std::string_view text) const = 0;
  virtual int TextHeight(std::string_view text) const = 0;
  virtual int AverageCharWidth() const = 0;
  // The height a line takes when nothing was printed on it.
  virtual int CharHeight() const = 0;

  // Draws text with its top-left corner at x, y of the printable area.
  virtual void DrawText(int x, int y, std::string_view text) = 0;
  // Ejects the current page and begins the next one.
  virtual void NewPage() = 0;
  // Ejects the last page and ends the job.
  virtual void EndJob() = 0;
};

}  // namespace printing
