#pragma once
// The files browser and the events review over a folder of races that the
// program's own race control and record writers made, with a printer that
// puts each report on a fake page the test can read back.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "printing/line_printer.h"
#include "printing/report_frame.h"
#include "race/race_harness.h"
#include "records/race_files.h"
#include "support/fake_drawing_surface.h"
#include "support/fake_message_boxes.h"
#include "support/temp_dir.h"
#include "ui/events_review_window.h"
#include "ui/files_browser.h"
#include "ui/report_printer.h"

namespace testing_support {

// Prints every report through the real report frame onto a fake page and
// keeps the page as text: each drawn run at its column (10 device units a
// character), one string per printed line.
class PagePrinter final : public ui::ReportPrinter {
 public:
  void Print(const printing::Report& report, bool spanish) override {
    reports.push_back(report);
    FakeDrawingSurface surface(4000, 1000000);
    printing::LinePrinter printer(surface);
    printing::WriteReport(printer, report, spanish);
    std::map<int, std::string> lines;
    for (const auto& run : surface.drawn) {
      std::string& line = lines[run.y];
      const std::size_t column = static_cast<std::size_t>(run.x / surface.charWidth);
      if (line.size() < column) line.resize(column, ' ');
      line += run.text;
    }
    std::vector<std::string> page;
    for (auto& [y, line] : lines) page.push_back(line);
    pages.push_back(page);
    jobsEnded += surface.jobsEnded;
  }

  std::vector<printing::Report> reports;
  std::vector<std::vector<std::string>> pages;
  int jobsEnded = 0;
};

// Runs races with the program's race control into a folder, one day at a time.
class RaceRecorder {
 public:
  RaceRecorder(const std::string& folder, const std::string& day) : files_(folder, lister_), h(&files_) {
    h.race.SetNumbering(day, 1);
  }
  // A race of cars 1 and 3 with a few passes; stopped by the operator unless
  // it is left running (as if the program had been killed).
  // `duringLap` runs after the passes of each lap (events, say).
  void Race(const std::string& description, int laps, bool finish = true,
            const std::function<void(RaceHarness&, int)>& duringLap = {}, int timingItem = -1) {
    h.OnlyCars({1, 3});
    h.race.Setup().SetDescription(h.race.spanish(), description);
    ASSERT_TRUE(h.Start(0, timingItem));
    for (int lap = 0; lap < laps; ++lap) {
      h.Wait(20.125);
      h.Key(3);
      h.Wait(2.5);
      h.Key(1);
      if (duringLap) duringLap(h, lap);
    }
    if (finish) h.race.Finalizar(true);
  }

 private:
  platform::PosixDirectoryLister lister_;
  records::RaceFiles files_;

 public:
  RaceHarness h;
};

// Runs `inside` once the modal window of that name is open, then closes it.
inline void WhileModal(const char* name, std::function<void(QWidget*)> inside, int tries = 100) {
  QTimer::singleShot(0, [name, inside, tries] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->objectName() != QLatin1String(name)) {
      if (tries > 0) WhileModal(name, inside, tries - 1);
      return;
    }
    inside(modal);
    modal->close();
  });
}

class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    review = std::make_unique<ui::TForm3>(boxes, printer);
    browser = std::make_unique<ui::TForm2>(ui::FilesBrowserServices{lister, boxes, printer, dir.path()});
    browser->SetEventsReview(review.get());
  }
  void TearDown() override {
    browser->hide();
    review->hide();
  }

  // Two days: 261205 with two races; 261206 with race 1 (two events, one of
  // them manual), race 2 under common timing, race 3 never finished.
  void RecordTwoDays() {
    RaceRecorder today(dir.path(), "261206");
    today.Race("Final", 3, true, [](RaceHarness& h, int lap) {
      if (lap != 1) return;
      h.race.EventButton(events::EventKind::Refuel, 3);
      h.race.ManualEvent("bandera roja");
    });
    today.Race("Common", 2, true, {}, 1);
    today.Race("Never", 2, false);
    RaceRecorder yesterday(dir.path(), "261205");
    yesterday.Race("Ayer", 1);
    yesterday.Race("Tarde", 1);
  }

  // Opens the browser as the main window does, in the language given.
  void Open(bool spanish = true, const std::string& nextRaceBase = "26120604") {
    browser->hide();
    browser->Prepare(spanish, nextRaceBase);
    browser->show();
  }
  // Opens the review directly, as the browser would for a file of the folder.
  void OpenReview(const std::string& fileName, bool spanish = true) {
    review->hide();
    ui::EventsReviewRequest request;
    request.spanish = spanish;
    request.eventsFileName = fileName;
    request.path = dir.File(fileName);
    request.day = "261206";
    request.description = "Final. Crono individual. Carrera parada a 00'40\"000.";
    request.details = "Carrera 01.";
    review->Prepare(request);
    review->show();
  }

  template <typename T = QWidget>
  T* Find(QWidget* window, const char* name) const {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  template <typename T = QWidget>
  T* B(const char* name) const {
    return Find<T>(browser.get(), name);
  }
  template <typename T = QWidget>
  T* R(const char* name) const {
    return Find<T>(review.get(), name);
  }
  std::string Text(QWidget* window, const char* name) const { return Find<QLabel>(window, name)->text().toStdString(); }
  void Click(QWidget* window, const char* name) const {
    QTest::mouseClick(Find<QAbstractButton>(window, name), Qt::LeftButton);
  }
  // Clicks a cell the way the operator does.
  static void ClickCell(QTableWidget* grid, int row, int column = 0) {
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  }
  static std::vector<std::vector<std::string>> Cells(const QTableWidget* grid) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < grid->columnCount(); ++c) {
        const QTableWidgetItem* item = grid->item(r, c);
        row.push_back(item != nullptr ? item->text().toStdString() : std::string());
      }
      rows.push_back(row);
    }
    return rows;
  }
  static std::vector<std::string> Column(const QTableWidget* grid, int column) {
    std::vector<std::string> cells;
    for (const auto& row : Cells(grid)) cells.push_back(row[static_cast<std::size_t>(column)]);
    return cells;
  }
  static std::vector<std::string> Headings(const QTableWidget* grid) {
    std::vector<std::string> headings;
    for (int c = 0; c < grid->columnCount(); ++c) {
      headings.push_back(grid->horizontalHeaderItem(c)->text().toStdString());
    }
    return headings;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes.shown) texts.push_back(box.text);
    return texts;
  }

  TempDir dir;
  FakeMessageBoxes boxes;
  platform::PosixDirectoryLister lister;
  PagePrinter printer;
  std::unique_ptr<ui::TForm3> review;
  std::unique_ptr<ui::TForm2> browser;
};

}  // namespace testing_support
