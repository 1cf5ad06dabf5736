// The files browser's corrections window over a race the program recorded:
// a double lap marked and split, a refusal, an earlier day's confirmation,
// an undo, and the browser's classification after it.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "browser_fixture.h"
#include "ui/corrections_window.h"

namespace {

using testing_support::BrowserTest;
using testing_support::RaceRecorder;
using testing_support::WhileModal;

class CorrectionsWindowTest : public BrowserTest {
 protected:
  void SetUp() override {
    BrowserTest::SetUp();
    corrections = std::make_unique<ui::CorrectionsWindow>(
        ui::CorrectionsServices{lister, boxes, dir.path(), [] { return 13000LL; }});
    browser->SetCorrectionsWindow(corrections.get());
  }
  void TearDown() override {
    corrections->hide();
    BrowserTest::TearDown();
  }
  // Common timing, cars 1 and 3 about every 20 s for six laps; car 1's third
  // press was missed, so its third lap lasts 41 s.
  void RecordRace() {
    RaceRecorder day(dir.path(), "261206");
    day.h.OnlyCars({1, 3});
    ASSERT_TRUE(day.h.Start(0, 1));
    for (int lap = 1; lap <= 6; ++lap) {
      day.h.Wait(20);
      day.h.Key(3);
      day.h.Wait(0.5);
      if (lap != 3) day.h.Key(1);
    }
    day.h.race.Finalizar(true);
  }
  template <typename T>
  T* C(QWidget* window, const char* name) const {
    return Find<T>(window, name);
  }
  std::unique_ptr<ui::CorrectionsWindow> corrections;
};

TEST_F(CorrectionsWindowTest, ADoubleLapSplitAPenaltyRefusedAndUndone) {
  RecordRace();
  Open(false, "26120702");  // the race is of the day before
  EXPECT_EQ(B<QPushButton>("CorrectButton")->text(), "Correct");
  bool seen = false;
  WhileModal("CorrectionsWindow", [&](QWidget* w) {
    auto* passes = C<QTableWidget>(w, "PassesTable");
    // Car 1's lap ending at 82 s hides a crossing: it alone is marked.
    int marked = -1;
    for (int r = 0; r < passes->rowCount(); ++r) {
      if (passes->item(r, 5)->text() == "×2?") {
        EXPECT_EQ(marked, -1);
        marked = r;
      }
    }
    ASSERT_GE(marked, 0);
    EXPECT_EQ(passes->item(marked, 0)->text(), "1");
    EXPECT_EQ(passes->item(marked, 3)->text(), "41,000");
    if (qEnvironmentVariableIsSet("TRELVIX_SHOTS")) w->grab().save(qEnvironmentVariable("TRELVIX_SHOTS") + "/corrections_suggested.png");
    ClickCell(passes, marked);
    EXPECT_EQ(C<QSpinBox>(w, "CarBox")->value(), 1);

    // The day before: the first correction asks once; Cancel records nothing.
    C<QComboBox>(w, "ActionBox")->setCurrentIndex(ui::CorrectionsWindow::kAddLap);
    boxes.answers = {false};
    Click(w, "ApplyButton");
    EXPECT_EQ(C<QListWidget>(w, "CorrectionsList")->count(), 0);
    boxes.answers = {true};
    Click(w, "ApplyButton");
    ASSERT_EQ(C<QListWidget>(w, "CorrectionsList")->count(), 1);
    EXPECT_EQ(Column(C<QTableWidget>(w, "BeforeTable"), 2), (std::vector<std::string>{"6", "5"}));
    EXPECT_EQ(Column(C<QTableWidget>(w, "AfterTable"), 1), (std::vector<std::string>{"3", "1"}));
    EXPECT_EQ(Column(C<QTableWidget>(w, "AfterTable"), 2), (std::vector<std::string>{"6", "6"}));

    // Seven laps off car 3 would leave it fewer than none: refused, said, not written.
    const std::size_t boxesBefore = boxes.shown.size();
    C<QComboBox>(w, "ActionBox")->setCurrentIndex(ui::CorrectionsWindow::kLapPenalty);
    C<QSpinBox>(w, "CarBox")->setValue(3);
    C<QDoubleSpinBox>(w, "AmountBox")->setValue(7);
    Click(w, "ApplyButton");
    ASSERT_EQ(boxes.shown.size(), boxesBefore + 1);  // no second confirmation
    EXPECT_EQ(boxes.shown.back().text, "Refused: the car would have a negative lap count.");
    EXPECT_EQ(C<QListWidget>(w, "CorrectionsList")->count(), 1);

    // A 10 s penalty puts car 3 behind car 1 on the same laps.
    C<QComboBox>(w, "ActionBox")->setCurrentIndex(ui::CorrectionsWindow::kTimePenalty);
    C<QDoubleSpinBox>(w, "AmountBox")->setValue(10);
    Click(w, "ApplyButton");
    EXPECT_EQ(Column(C<QTableWidget>(w, "AfterTable"), 1), (std::vector<std::string>{"1", "3"}));
    if (qEnvironmentVariableIsSet("TRELVIX_SHOTS")) w->grab().save(qEnvironmentVariable("TRELVIX_SHOTS") + "/corrections_window.png");

    // Undoing the added lap (its events number is 1) leaves the penalty.
    C<QComboBox>(w, "ActionBox")->setCurrentIndex(ui::CorrectionsWindow::kUndo);
    C<QSpinBox>(w, "CarBox")->setValue(1);
    C<QDoubleSpinBox>(w, "AmountBox")->setValue(1);
    Click(w, "ApplyButton");
    EXPECT_EQ(Column(C<QTableWidget>(w, "AfterTable"), 2), (std::vector<std::string>{"6", "5"}));
    EXPECT_NE(C<QListWidget>(w, "CorrectionsList")->item(0)->text().toStdString().find("(undone)"), std::string::npos);
    seen = true;
  });
  Click(browser.get(), "CorrectButton");
  EXPECT_TRUE(seen);
  // The lines are in the events file as every event is; the browser shows the corrected classification.
  const std::string events = dir.Read("26120601.inc");
  EXPECT_NE(events.find("\tCORR\t+1 P"), std::string::npos) << events;
  EXPECT_NE(events.find("\tPEN\t+10,000 s: Stewards' decision\r\n"), std::string::npos) << events;
  EXPECT_NE(events.find("\tANUL\t#1"), std::string::npos) << events;
  EXPECT_EQ(Column(B<QTableWidget>("ClassificationGrid"), 1), (std::vector<std::string>{"  3", "  1"}));
}

TEST_F(CorrectionsWindowTest, ARaceStillBeingTimedIsRefused) {
  RaceRecorder day(dir.path(), "261206");
  day.Race("Running", 2, false);  // the copy timing it has not finished it
  Open(true, "26120602");
  Click(browser.get(), "CorrectButton");
  ASSERT_FALSE(boxes.shown.empty());
  EXPECT_NE(boxes.shown.back().text.find("no ha terminado"), std::string::npos);
  EXPECT_FALSE(corrections->isVisible());
}

}  // namespace
