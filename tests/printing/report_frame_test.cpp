// The frame every report shares, printed on a fake page (characters 10 wide,
// lines 14 high, tab stops every 80).
#include "printing/report_frame.h"

#include <gtest/gtest.h>

#include "support/fake_drawing_surface.h"

namespace {

using testing_support::FakeDrawingSurface;

printing::Report Classification(int rows) {
  printing::Report report;
  report.day = "261206";
  report.description = "Final GT";
  report.details = "Inicio 10:00:00. Fin.";
  report.title = "Clasificación";
  report.headings = {"Pos", "Coche"};
  for (int i = 1; i <= rows; ++i) report.rows.push_back({" " + std::to_string(i), "   " + std::to_string(i + 2)});
  return report;
}

// The text of each printed line, its runs joined by "|".
std::vector<std::string> Lines(const FakeDrawingSurface& surface) {
  std::vector<std::string> lines;
  int page = 0;
  int y = -1;
  for (const auto& d : surface.drawn) {
    if (d.page != page || d.y != y) {
      lines.push_back(d.text);
      page = d.page;
      y = d.y;
    } else {
      lines.back() += "|" + d.text;
    }
  }
  return lines;
}

TEST(ReportFrame, PrintsTheSharedLinesThenTheTableAndAnEmptyLine) {
  FakeDrawingSurface surface(1000, 1000);
  printing::LinePrinter printer(surface);
  printing::WriteReport(printer, Classification(2), true);
  EXPECT_EQ(Lines(surface), (std::vector<std::string>{"Fecha: |261206", "Final GT", "Inicio 10:00:00. Fin.",
                                                      "Clasificación", "Pos|Coche", " 1|   3", " 2|   4"}));
  // Seven printed lines of 14, then the empty line of the character height.
  EXPECT_EQ(printer.CaretY(), 7 * 14 + 12);
  EXPECT_EQ(surface.jobsEnded, 1);
  // Cells start at the tab stops.
  EXPECT_EQ(surface.drawn.back().x, 80);
}

TEST(ReportFrame, TheDateLineFollowsTheLanguage) {
  FakeDrawingSurface surface(1000, 1000);
  printing::LinePrinter printer(surface);
  printing::WriteReport(printer, Classification(0), false);
  ASSERT_FALSE(surface.drawn.empty());
  EXPECT_EQ(surface.drawn[0].text, "Date: ");
}

TEST(ReportFrame, RowsPastTheBottomGoOnAtTheTopOfTheNextPageWithoutHeadings) {
  // 100 high: six lines a page.
  FakeDrawingSurface surface(1000, 100);
  printing::LinePrinter printer(surface);
  printing::WriteReport(printer, Classification(5), true);
  const auto page2 = surface.OnPage(2);
  ASSERT_FALSE(page2.empty());
  EXPECT_EQ(page2[0].text, " 2");
  EXPECT_EQ(page2[0].y, 0);
  for (const auto& d : page2) EXPECT_NE(d.text, "Pos");
  EXPECT_EQ(surface.page, 2);
}

TEST(ReportFrame, TitlesTakeTheOrderingInLowerCaseLettersOnly) {
  EXPECT_EQ("Passes " + printing::LowerAsciiLetters("By Car"), "Passes by car");
  EXPECT_EQ(printing::LowerAsciiLetters("POR TIPO Ñ É"), "por tipo Ñ É");
}

}  // namespace
