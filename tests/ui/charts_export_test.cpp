// The files browser's charts and export buttons over races the program
// recorded, and the charts window's print and save.
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QPushButton>

#include "browser_fixture.h"
#include "meeting/store.h"
#include "platform/sqlite_store.h"
#include "printing/printer_settings.h"
#include "ui/charts_window.h"

namespace {

using testing_support::BrowserTest;
using testing_support::RaceRecorder;
using testing_support::WhileModal;

class FakeFileDialogs final : public platform::FileDialogs {
 public:
  std::optional<QString> SaveFileName(QWidget*, const QString&, const QString& suggested, const QString&) override {
    suggestions.push_back(suggested);
    return answer;
  }
  std::optional<QString> FolderName(QWidget*, const QString&) override { return answer; }
  std::optional<QString> OpenFileName(QWidget*, const QString&, const QString&) override { return answer; }
  std::optional<QString> answer;
  std::vector<QString> suggestions;
};

class ChartsAndExport : public BrowserTest {
 protected:
  void SetUp() override {
    BrowserTest::SetUp();
    charts = std::make_unique<ui::ChartsWindow>(ui::ChartsServices{boxes, dialogs, &printerSettings});
    browser = std::make_unique<ui::TForm2>(
        ui::FilesBrowserServices{lister, boxes, printer, dir.path(), &dialogs});
    browser->SetEventsReview(review.get());
    browser->SetChartsWindow(charts.get());
  }
  void TearDown() override {
    charts->hide();
    BrowserTest::TearDown();
  }
  static int LineCount(QChart* chart) {
    int lines = 0;
    for (QAbstractSeries* s : chart->series()) lines += s->type() == QAbstractSeries::SeriesTypeLine;
    return lines;
  }

  FakeFileDialogs dialogs;
  printing::PrinterSettings printerSettings;
  std::unique_ptr<ui::ChartsWindow> charts;
  testing_support::TempDir out;
};

TEST_F(ChartsAndExport, TheChartsButtonShowsTheChosenRace) {
  RecordTwoDays();
  Open(false);
  EXPECT_EQ(B<QPushButton>("ChartsButton")->text(), "Charts");
  EXPECT_EQ(B<QPushButton>("ChartsButton")->geometry(), QRect(508, 412, 56, 18));
  // Race 1: cars 1 and 3 cross three times under individual timing; the first crossing starts each clock.
  ClickCell(B<QTableWidget>("RacesGrid"), 0);
  bool seen = false;
  WhileModal("ChartsWindow", [&seen](QWidget* window) {
    auto* w = static_cast<ui::ChartsWindow*>(window);
    EXPECT_EQ(w->windowTitle(), "Charts");
    QChart* times = w->ChartOf(charts::Kind::LapTimes);
    ASSERT_NE(times, nullptr);
    EXPECT_EQ(LineCount(times), 2);
    for (QAbstractSeries* s : times->series()) {
      if (s->type() == QAbstractSeries::SeriesTypeLine) {
        EXPECT_EQ(static_cast<QLineSeries*>(s)->count(), 2);
      }
    }
    ASSERT_NE(w->ChartOf(charts::Kind::LapChart), nullptr);
    seen = true;
  });
  Click(browser.get(), "ChartsButton");
  EXPECT_TRUE(seen);
}

TEST_F(ChartsAndExport, AHeatsRaceNamesItsDriversInItsChartsAndPrintedReports) {
  RecordTwoDays();
  // Race 26120601 (cars 1 and 3) ran heat 1 of a club meeting: Ana in car 1, Bea in car 3.
  const std::string path = QDir(QString::fromStdString(dir.path())).filePath("TRELVIX.sqlite").toStdString();
  platform::SqliteStore store(path);
  meeting::Meeting club;
  club.date = {2026, 12, 6};
  club.name = "Club";
  club.className = "GT";
  club.rotation.lanes = 3;
  for (const char* name : {"Ana López", "Bea Ruiz"}) {
    meeting::Driver driver;
    driver.name = name;
    driver.shortName = meeting::MakeShortName(name);
    driver.className = "GT";
    club.entrants.push_back(store.SaveDriver(driver).value_or(0));
  }
  club.id = store.SaveMeeting(club).value_or(0);
  meeting::Heat heat{{1, meeting::Stage::Rotation, 1, 0, 5, 2, false}, {{1, club.entrants[0]}, {3, club.entrants[1]}}};
  ASSERT_TRUE(store.AddHeats(club.id, {heat})) << store.Status().detail;
  ASSERT_TRUE(store.LinkRace(club.id, 1, "26120601"));
  platform::SqliteStore reader(path, 250, platform::SqliteStore::Access::ReadOnly);
  browser =
      std::make_unique<ui::TForm2>(ui::FilesBrowserServices{lister, boxes, printer, dir.path(), &dialogs, &reader});
  browser->SetEventsReview(review.get());
  browser->SetChartsWindow(charts.get());
  Open();
  ClickCell(B<QTableWidget>("RacesGrid"), 0);

  Click(browser.get(), "PrintClassification");
  Click(browser.get(), "PrintPasses");
  ASSERT_EQ(printer.reports.size(), 2u);
  // The driver last, so the columns before it stand where they always did.
  const printing::Report& classification = printer.reports[0];
  EXPECT_EQ(classification.headings.back(), "Piloto");
  ASSERT_EQ(classification.rows.size(), 2u);
  EXPECT_EQ(classification.rows[0][1], "  3");
  EXPECT_EQ(classification.rows[0].back(), "Bea Ruiz");
  EXPECT_EQ(classification.rows[1].back(), "Ana López");
  for (const auto& row : printer.reports[1].rows) {
    EXPECT_EQ(row.back(), row[1] == "  1" ? "Ana López" : "Bea Ruiz");
  }

  bool seen = false;
  WhileModal("ChartsWindow", [&seen](QWidget* window) {
    QStringList names;
    for (QAbstractSeries* s : static_cast<ui::ChartsWindow*>(window)->ChartOf(charts::Kind::LapChart)->series()) {
      names << s->name();
    }
    names.sort();
    EXPECT_EQ(names, (QStringList{QString::fromUtf8("1 · Ana López"), QString::fromUtf8("3 · Bea Ruiz")}));
    seen = true;
  });
  Click(browser.get(), "ChartsButton");
  EXPECT_TRUE(seen);
}

TEST_F(ChartsAndExport, ARaceWithoutPassesShowsAMessageAndCannotBeSaved) {
  RaceRecorder(dir.path(), "261206").Race("Empty", 0);
  Open();
  bool seen = false;
  WhileModal("ChartsWindow", [&seen](QWidget* window) {
    auto* w = static_cast<ui::ChartsWindow*>(window);
    EXPECT_EQ(w->ChartOf(charts::Kind::LapTimes), nullptr);
    EXPECT_EQ(w->MessageOf(charts::Kind::LapChart), "Ningún coche completó una vuelta en esta carrera.");
    EXPECT_FALSE(w->findChild<QPushButton*>("ChartsSavePng")->isEnabled());
    seen = true;
  });
  Click(browser.get(), "ChartsButton");
  EXPECT_TRUE(seen);
}

TEST_F(ChartsAndExport, AChartIsPrintedOnTheChosenPrinterAndSavedAsPngAndPdf) {
  RecordTwoDays();
  Open();
  const auto loaded = results::LoadRace(lister, dir.path(), *records::RaceId::Parse("26120601"));
  charts->SetRace(loaded.sheet, true);
  charts->Choose(charts::Kind::LapChart);

  // The printer chosen in the print setup is a PDF file here.
  printerSettings.Printer().setOutputFormat(QPrinter::PdfFormat);
  printerSettings.Printer().setOutputFileName(QString::fromStdString(out.File("printed.pdf")));
  charts->PrintClick();
  EXPECT_TRUE(out.Read("printed.pdf").starts_with("%PDF"));
  EXPECT_TRUE(boxes.shown.empty());

  dialogs.answer = QString::fromStdString(out.File("chart.png"));
  charts->SavePngClick();
  EXPECT_EQ(dialogs.suggestions.back(), "26120601-lap-chart.png");
  const QImage png(QString::fromStdString(out.File("chart.png")));
  EXPECT_EQ(png.size(), QSize(1600, 900));
  dialogs.answer = QString::fromStdString(out.File("chart.pdf"));
  charts->SavePdfClick();
  EXPECT_TRUE(out.Read("chart.pdf").starts_with("%PDF"));

  // Cancelled: nothing written.
  dialogs.answer.reset();
  charts->SavePngClick();
  EXPECT_EQ(QDir(QString::fromStdString(out.path())).entryList(QDir::Files).size(), 3);
}

TEST_F(ChartsAndExport, TheExportButtonWritesEveryFormatIntoTheChosenFolderAndSaysWhatIsMissing) {
  RecordTwoDays();
  Open();
  dialogs.answer = QString::fromStdString(out.File("club"));
  Click(browser.get(), "ExportButton");
  ASSERT_EQ(boxes.shown.size(), 1u);
  // Race 3 was left running: it is exported, and the box says it never finished.
  EXPECT_NE(boxes.shown[0].text.find("Carrera 26120603 exportada a"), std::string::npos) << boxes.shown[0].text;
  EXPECT_NE(boxes.shown[0].text.find("\rCarrera sin terminar"), std::string::npos) << boxes.shown[0].text;
  for (const char* name : {"26120603-classification.csv", "26120603-passes.csv", "26120603-events.csv", "26120603.xlsx",
                           "26120603.html", "26120603.pdf"}) {
    EXPECT_TRUE(out.Exists(std::string("club/") + name)) << name;
  }
  EXPECT_EQ(out.Read("club/26120603-passes.csv").substr(0, 50), "\xEF\xBB\xBF" "paso;coche;vuelta;tiempo_s;tiempo_total_s\r\n1;3;");

  // Without its passes and events the race is not exported at all.
  QFile::remove(QString::fromStdString(dir.File("26120603.pss")));
  QFile::remove(QString::fromStdString(dir.File("26120603.inc")));
  dialogs.answer = QString::fromStdString(out.File("empty"));
  Click(browser.get(), "ExportButton");
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_NE(boxes.shown[1].text.find("No se pudo exportar la carrera 26120603:\rfaltan ficheros de la carrera: "
                                     "26120603.pss, 26120603.inc"),
            std::string::npos)
      << boxes.shown[1].text;
  EXPECT_FALSE(out.Exists("empty"));
}

}  // namespace
