#pragma once
// LinePrinter: a text stream onto printed pages. Text goes on at the caret,
// runs that pass the right edge go on at the next line, TAB moves to the next
// tab stop, line feed ends the line, form feed starts a new page.

#include <string_view>

#include "printing/drawing_surface.h"

namespace printing {

class LinePrinter final {
 public:
  // Opens the job: caret at the top-left corner, page measures taken now.
  explicit LinePrinter(DrawingSurface& surface);
  // Closes the job when the caller did not.
  ~LinePrinter();
  LinePrinter(const LinePrinter&) = delete;
  LinePrinter& operator=(const LinePrinter&) = delete;

  // UTF-8 text; TAB, LF, CR and FF act, every other character is printed.
  void Write(std::string_view text);
  // The same as writing CR LF.
  void EndLine();
  // Prints what is pending and ends the job, ejecting the last page.
  void Close();

  int CaretX() const noexcept { return caretX_; }
  int CaretY() const noexcept { return caretY_; }
  int LineHeight() const noexcept { return lineHeight_; }

 private:
  void PrintRun(std::string_view run);
  void PrintPart(std::string_view part);
  void Tab();
  void NextLine();
  void NewPage();

  DrawingSurface& surface_;
  int pageWidth_;
  int pageHeight_;
  int caretX_ = 0;
  int caretY_ = 0;
  int lineHeight_ = 0;
  bool open_ = true;
};

}  // namespace printing
