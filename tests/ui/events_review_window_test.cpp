// The events review over events files written by the program's race control:
// the three orderings, the manual texts, bad lines and the printed report.
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "browser_fixture.h"

namespace {

using events::EventKind;
using testing_support::BrowserTest;
using testing_support::RaceRecorder;
using Texts = std::vector<std::string>;

class EventsReview : public BrowserTest {
 protected:
  // 1 "RPTJ" car 3, 2 "MANU" without car, 3 "PRDA" car 1, 4 "BOX" car 3.
  void RecordFourEvents() {
    RaceRecorder day(dir.path(), "261206");
    day.h.OnlyCars({1, 3});
    ASSERT_TRUE(day.h.Start(0));
    day.h.Wait(25.125);
    day.h.race.EventButton(EventKind::Refuel, 3);
    day.h.race.ManualEvent("bandera roja en la curva");
    day.h.race.EventButton(EventKind::Stop, 1);
    day.h.race.EventButton(EventKind::Boxes, 3);
    day.h.race.Finalizar(true);
  }
  QTableWidget* Grid() const { return R<QTableWidget>("StringGrid1"); }
  void Order(int item) const { Click(review.get(), ("RadioGroup1Item" + std::to_string(item)).c_str()); }
};

TEST_F(EventsReview, OrdersByCarByTypeAndBackByEvent) {
  RecordFourEvents();
  OpenReview("26120601.inc");
  EXPECT_EQ(review->windowTitle(), "Incidencias");
  EXPECT_EQ(Text(review.get(), "Label3"), "Fichero");
  EXPECT_EQ(Text(review.get(), "Label4"), "26120601.inc");
  EXPECT_EQ(Text(review.get(), "Label1"), "Incidencias: 4");
  EXPECT_EQ(Headings(Grid()), (Texts{"Inc.", "C.", "Vuelta", "T. total", "Tipo", "Det."}));
  EXPECT_TRUE(R<QRadioButton>("RadioGroup1Item0")->isChecked());
  // The times stand as written, comma and all.
  EXPECT_EQ(Cells(Grid()), (std::vector<Texts>{{"   1", " 3", "    0", "     25,125", " RPTJ", " "},
                                               {"   2", "--", "--", "     25,125", " MANU", "*"},
                                               {"   3", " 1", "    0", "     25,125", " PRDA", " "},
                                               {"   4", " 3", "    0", "     25,125", "  BOX", " "}}));
  // Heading and four rows: 31 + 70 rounded down to 68.
  EXPECT_EQ(Grid()->height(), 99);

  Order(1);
  EXPECT_EQ(Column(Grid(), 0), (Texts{"   3", "   1", "   4", "   2"}));
  Order(2);
  EXPECT_EQ(Column(Grid(), 0), (Texts{"   4", "   2", "   3", "   1"}));
  EXPECT_EQ(Column(Grid(), 4), (Texts{"  BOX", " MANU", " PRDA", " RPTJ"}));
  Order(0);
  EXPECT_EQ(Column(Grid(), 0), (Texts{"   1", "   2", "   3", "   4"}));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(EventsReview, ManualEventsComeAfterEveryCarInTheOrderTheExchangesLeave) {
  RaceRecorder day(dir.path(), "261206");
  day.h.OnlyCars({1, 2});
  ASSERT_TRUE(day.h.Start(0));
  day.h.race.ManualEvent("a");
  day.h.race.EventButton(EventKind::Refuel, 2);
  day.h.race.ManualEvent("b");
  day.h.race.EventButton(EventKind::Stop, 1);
  day.h.race.ManualEvent("c");
  day.h.race.Finalizar(true);
  OpenReview("26120601.inc");
  Order(1);
  // Manual events keep no order of their own: 3, 1, 5 is what the
  // exchanges leave them in.
  EXPECT_EQ(Column(Grid(), 0), (Texts{"   4", "   2", "   3", "   1", "   5"}));
}

TEST_F(EventsReview, ClickingAManualEventShowsItsText) {
  RecordFourEvents();
  OpenReview("26120601.inc");
  EXPECT_FALSE(R("Memo1")->isVisible());
  EXPECT_FALSE(R("Label2")->isVisible());
  ClickCell(Grid(), 1, 2);
  EXPECT_TRUE(R("Memo1")->isVisible());
  EXPECT_EQ(Text(review.get(), "Label2"), "Detalle");
  EXPECT_TRUE(R("Label2")->isVisible());
  EXPECT_EQ(R<QPlainTextEdit>("Memo1")->toPlainText(), "bandera roja en la curva");
  ClickCell(Grid(), 2);
  EXPECT_FALSE(R("Memo1")->isVisible());
  EXPECT_FALSE(R("Label2")->isVisible());
  EXPECT_EQ(R<QPlainTextEdit>("Memo1")->toPlainText(), "");

  // Re-ordering hides the text again.
  ClickCell(Grid(), 1);
  Order(1);
  EXPECT_FALSE(R("Memo1")->isVisible());
  EXPECT_TRUE(Grid()->selectedItems().isEmpty());
  // By car the manual event is last.
  ClickCell(Grid(), 3);
  EXPECT_TRUE(R("Memo1")->isVisible());

  // Each opening starts from the file again.
  OpenReview("26120601.inc");
  EXPECT_TRUE(R<QRadioButton>("RadioGroup1Item0")->isChecked());
  EXPECT_EQ(Column(Grid(), 0), (Texts{"   1", "   2", "   3", "   4"}));
  EXPECT_FALSE(R("Memo1")->isVisible());
}

TEST_F(EventsReview, TextsInEnglish) {
  RecordFourEvents();
  OpenReview("26120601.inc", false);
  EXPECT_EQ(review->windowTitle(), "Events");
  EXPECT_EQ(Text(review.get(), "Label3"), "File");
  EXPECT_EQ(Text(review.get(), "Label1"), "Events: 4");
  EXPECT_EQ(Text(review.get(), "Label2"), "Detail");
  EXPECT_EQ(R<QGroupBox>("RadioGroup1")->title(), "Events");
  EXPECT_EQ(R<QRadioButton>("RadioGroup1Item0")->text(), "By event");
  EXPECT_EQ(R<QRadioButton>("RadioGroup1Item2")->text(), "By type");
  EXPECT_EQ(R<QAbstractButton>("Button3")->text(), "Print");
  EXPECT_EQ(Headings(Grid()), (Texts{"Event", "C.", "Lap", "Total t.", "Type", "Det."}));
}

TEST_F(EventsReview, BadLinesAreReportedAndAnUnconvertibleNumberEndsTheReading) {
  RecordFourEvents();
  dir.Write("26120601.inc",
            dir.Read("26120601.inc") + "5\t3\t2\t30,000\r\nx\t1\t1\t31,000\tBOX\r\n6\t1\t1\t32,000\tBOX\r\n");
  OpenReview("26120601.inc");
  EXPECT_EQ(BoxTexts(),
            (Texts{"Algo raro: no Inc-Coche-Vuelta-T. Total-Tipo(-Detalle)", "'x' is not a valid integer value"}));
  // The short line is taken with the type of the line before; nothing after
  // the bad number is.
  EXPECT_EQ(Text(review.get(), "Label1"), "Incidencias: 5");
  EXPECT_EQ(Cells(Grid()).back(), (Texts{"   5", " 3", "    2", "     30,000", "  BOX", " "}));
}

TEST_F(EventsReview, TheGridGrowsToTheWindowsOuterHeight) {
  RaceRecorder day(dir.path(), "261206");
  ASSERT_TRUE(day.h.Start(0));
  for (int i = 0; i < 23; ++i) day.h.race.EventButton(EventKind::Refuel, 1);
  day.h.race.Finalizar(true);
  OpenReview("26120601.inc");
  // 31 + 24 rows (heading included) of 14: every entry shows without scrolling.
  EXPECT_EQ(Grid()->height(), 367);
}

TEST_F(EventsReview, EmptyFileShowsOneEmptyRow) {
  RaceRecorder day(dir.path(), "261206");
  ASSERT_TRUE(day.h.Start(0));
  day.h.race.Finalizar(true);
  ASSERT_EQ(dir.Read("26120601.inc"), "");
  OpenReview("26120601.inc");
  EXPECT_EQ(Text(review.get(), "Label1"), "Incidencias: 0");
  EXPECT_EQ(Cells(Grid()), (std::vector<Texts>{{"", "", "", "", "", ""}}));
  ClickCell(Grid(), 0);
  EXPECT_FALSE(R("Memo1")->isVisible());
  Click(review.get(), "Button3");
  ASSERT_EQ(printer.reports.size(), 1u);
  EXPECT_EQ(printer.reports[0].rows, (std::vector<Texts>{{"", "", "", "", ""}}));
}

TEST_F(EventsReview, PrintsTheTableInItsCurrentOrder) {
  RecordFourEvents();
  OpenReview("26120601.inc");
  Order(1);
  Click(review.get(), "Button3");
  OpenReview("26120601.inc", false);
  Order(2);
  Click(review.get(), "Button3");
  ASSERT_EQ(printer.pages.size(), 2u);
  EXPECT_EQ(printer.jobsEnded, 2);

  // Five columns: the detail marker and the manual texts are not printed.
  EXPECT_EQ(printer.pages[0],
            (Texts{"Fecha: 261206", "Final. Crono individual. Carrera parada a 00'40\"000.", "Carrera 01.",
                   "Incidencias por coche", "Inc.    C.      Vuelta  T. total        Tipo",
                   "   3     1          0        25,125      PRDA", "   1     3          0        25,125      RPTJ",
                   "   4     3          0        25,125       BOX", "   2    --      --           25,125      MANU"}));
  EXPECT_EQ(printer.pages[1][0], "Date: 261206");
  EXPECT_EQ(printer.pages[1][3], "Events by type");
  EXPECT_EQ(printer.reports[1].headings, (Texts{"Event", "C.", "Lap", "Total t.", "Type"}));
  EXPECT_EQ(printer.reports[1].rows.front(), (Texts{"   4", " 3", "    0", "     25,125", "  BOX"}));
}

TEST_F(EventsReview, OpenedFromTheBrowserWithItsDayAndDescription) {
  RecordFourEvents();
  Open(false);
  testing_support::WhileModal("Form3", [](QWidget* form3) {
    QTest::mouseClick(form3->findChild<QAbstractButton*>(QStringLiteral("Button3")), Qt::LeftButton);
  });
  Click(browser.get(), "EventsButton");
  ASSERT_EQ(printer.reports.size(), 1u);
  EXPECT_EQ(printer.reports[0].day, "261206");
  EXPECT_EQ(printer.reports[0].description, Text(browser.get(), "DescriptionValue"));
  EXPECT_EQ(printer.reports[0].details, Text(browser.get(), "DetailsValue"));
  EXPECT_EQ(printer.reports[0].title, "Events by event");
  EXPECT_EQ(printer.reports[0].rows.size(), 4u);
  // Closing drops the entries.
  EXPECT_TRUE(review->InciList().empty());
}

}  // namespace
