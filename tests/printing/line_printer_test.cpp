// LinePrinter on a page whose characters are 10 units wide and 12 high, so a
// printed line is 14 high and the tab stops are 80 apart.
#include "printing/line_printer.h"

#include <gtest/gtest.h>

#include "support/fake_drawing_surface.h"

namespace {

using testing_support::FakeDrawingSurface;

struct Place {
  int page;
  int x;
  int y;
  std::string text;
  bool operator==(const Place&) const = default;
};

std::vector<Place> Places(const FakeDrawingSurface& surface) {
  std::vector<Place> result;
  for (const auto& d : surface.drawn) result.push_back({d.page, d.x, d.y, d.text});
  return result;
}

void PrintTo(const Place& p, std::ostream* os) {
  *os << p.page << ":(" << p.x << "," << p.y << ")\"" << p.text << "\"";
}

TEST(LinePrinterRuns, ALongRunIsCutAndGoesOnAtTheNextLine) {
  FakeDrawingSurface surface(100, 1000);
  printing::LinePrinter printer(surface);
  printer.Write("ABCDEFGHIJKLMNOPQRSTUVWXY");
  EXPECT_EQ(Places(surface),
            (std::vector<Place>{{1, 0, 0, "ABCDEFGHIJ"}, {1, 0, 14, "KLMNOPQRST"}, {1, 0, 28, "UVWXY"}}));
  EXPECT_EQ(printer.CaretX(), 50);
  EXPECT_EQ(printer.CaretY(), 28);
  EXPECT_EQ(printer.LineHeight(), 14);
}

TEST(LinePrinterRuns, ARunAfterATabIsCutWhereThePageEnds) {
  FakeDrawingSurface surface(100, 1000);
  printing::LinePrinter printer(surface);
  printer.Write("abc\tXYZ");
  EXPECT_EQ(Places(surface), (std::vector<Place>{{1, 0, 0, "abc"}, {1, 80, 0, "XY"}, {1, 0, 14, "Z"}}));
}

TEST(LinePrinterRuns, CuttingNeverSplitsACharacter) {
  FakeDrawingSurface surface(30, 1000);
  printing::LinePrinter printer(surface);
  printer.Write("añçb");
  EXPECT_EQ(Places(surface), (std::vector<Place>{{1, 0, 0, "añç"}, {1, 0, 14, "b"}}));
}

TEST(LinePrinterRuns, CarriageReturnOnlyEndsTheRun) {
  FakeDrawingSurface surface(1000, 1000);
  printing::LinePrinter printer(surface);
  printer.Write("ab\rcd");
  EXPECT_EQ(Places(surface), (std::vector<Place>{{1, 0, 0, "ab"}, {1, 20, 0, "cd"}}));
}

TEST(LinePrinterTabs, TabMovesToTheNextStopPastTheCaretPlusOne) {
  FakeDrawingSurface surface(1000, 1000);
  surface.charWidth = 1;
  surface.averageCharWidth = 2;  // stops every 16
  printing::LinePrinter printer(surface);
  printer.Write("\t");
  EXPECT_EQ(printer.CaretX(), 16);
  printer.Write("12345678901234\t");  // 30: next stop after 31
  EXPECT_EQ(printer.CaretX(), 32);
  printer.Write("123456789012345\t");  // 47: 48 is not past 48
  EXPECT_EQ(printer.CaretX(), 64);
}

TEST(LinePrinterTabs, CellsEndingInTabsLineUpInColumns) {
  FakeDrawingSurface surface(1000, 1000);
  printing::LinePrinter printer(surface);
  printer.Write("Pos\tCoche\t");
  printer.EndLine();
  printer.Write(" 1\t  12\t");
  EXPECT_EQ(Places(surface),
            (std::vector<Place>{{1, 0, 0, "Pos"}, {1, 80, 0, "Coche"}, {1, 0, 14, " 1"}, {1, 80, 14, "  12"}}));
}

TEST(LinePrinterTabs, ATabPastThePageWidthEndsTheLine) {
  FakeDrawingSurface surface(100, 1000);
  printing::LinePrinter printer(surface);
  printer.Write("a\t");
  EXPECT_EQ(printer.CaretX(), 80);
  EXPECT_EQ(printer.CaretY(), 0);
  printer.Write("\t");
  EXPECT_EQ(printer.CaretX(), 0);
  EXPECT_EQ(printer.CaretY(), 14);
}

TEST(LinePrinterLines, AnEmptyLineTakesTheCharacterHeight) {
  FakeDrawingSurface surface(1000, 1000);
  printing::LinePrinter printer(surface);
  printer.Write("x");
  printer.EndLine();
  EXPECT_EQ(printer.CaretY(), 14);
  EXPECT_EQ(printer.LineHeight(), 0);
  printer.EndLine();
  EXPECT_EQ(printer.CaretY(), 26);
  printer.Write("\n");  // a line feed alone ends the line too
  EXPECT_EQ(printer.CaretY(), 38);
}

TEST(LinePrinterPages, ANewPageStartsWhenTheNextLineWouldNotFit) {
  // Page 100 high: after a line the caret must stay within 100 - 2 * 14.
  FakeDrawingSurface surface(1000, 100);
  printing::LinePrinter printer(surface);
  for (int i = 0; i < 8; ++i) {
    printer.Write(std::to_string(i));
    printer.EndLine();
  }
  std::vector<int> page1;
  for (const auto& d : surface.OnPage(1)) page1.push_back(d.y);
  EXPECT_EQ(page1, (std::vector<int>{0, 14, 28, 42, 56, 70}));
  const auto page2 = surface.OnPage(2);
  ASSERT_EQ(page2.size(), 2u);
  EXPECT_EQ(page2[0].text, "6");
  EXPECT_EQ(page2[0].y, 0);
  EXPECT_EQ(page2[1].y, 14);
}

TEST(LinePrinterPages, FormFeedStartsANewPageAtTheTopLeft) {
  FakeDrawingSurface surface(1000, 1000);
  printing::LinePrinter printer(surface);
  printer.Write("one\ftwo");
  EXPECT_EQ(Places(surface), (std::vector<Place>{{1, 0, 0, "one"}, {2, 0, 0, "two"}}));
}

TEST(LinePrinterPages, CloseEndsTheJobOnce) {
  FakeDrawingSurface surface(1000, 1000);
  {
    printing::LinePrinter printer(surface);
    printer.Write("x");
    printer.Close();
    EXPECT_EQ(surface.jobsEnded, 1);
  }
  EXPECT_EQ(surface.jobsEnded, 1);
  { printing::LinePrinter forgotten(surface); }
  EXPECT_EQ(surface.jobsEnded, 2);
}

}  // namespace
