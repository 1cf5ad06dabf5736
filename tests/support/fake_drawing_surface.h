#pragma once
// A page of fixed measures that records what is drawn on it: every character
// is `charWidth` wide and `textHeight` high, so positions can be worked out
// by hand.

#include <string>
#include <string_view>
#include <vector>

#include "printing/drawing_surface.h"

namespace testing_support {

class FakeDrawingSurface final : public printing::DrawingSurface {
 public:
  struct Drawn {
    int page;
    int x;
    int y;
    std::string text;
  };

  FakeDrawingSurface(int pageWidth, int pageHeight) : pageWidth_(pageWidth), pageHeight_(pageHeight) {}

  int PageWidth() const override { return pageWidth_; }
  int PageHeight() const override { return pageHeight_; }
  int TextWidth(std::string_view text) const override { return charWidth * Characters(text); }
  int TextHeight(std::string_view) const override { return textHeight; }
  int AverageCharWidth() const override { return averageCharWidth; }
  int CharHeight() const override { return textHeight; }
  void DrawText(int x, int y, std::string_view text) override { drawn.push_back({page, x, y, std::string(text)}); }
  void NewPage() override { ++page; }
  void EndJob() override { ++jobsEnded; }

  // Everything drawn on one page, in order.
  std::vector<Drawn> OnPage(int wanted) const {
    std::vector<Drawn> result;
    for (const auto& d : drawn)
      if (d.page == wanted) result.push_back(d);
    return result;
  }

  int charWidth = 10;
  int averageCharWidth = 10;  // sets the tab stops
  int textHeight = 12;
  int page = 1;
  int jobsEnded = 0;
  std::vector<Drawn> drawn;

 private:
  // UTF-8 characters, not bytes.
  static int Characters(std::string_view text) {
    int n = 0;
    for (char c : text)
      if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
  }

  int pageWidth_;
  int pageHeight_;
};

}  // namespace testing_support
