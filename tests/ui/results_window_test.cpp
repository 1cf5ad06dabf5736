#include "ui/results_window.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>

#include "window_fixture.h"

namespace {

const QColor kYellow = QColor::fromRgb(255, 255, 0);

class ResultsWindowTest : public testing_support::WindowTest {
 protected:
  void SetUp() override {
    Open();
    window->SetResultsWindow(&form4);
  }
  void ShowResults() {
    Find<QCheckBox>("CheckBox14")->click();  // "Multimonitor": shows it and tells where
  }
  QLabel* Cell(int n) const { return form4.findChild<QLabel*>(QStringLiteral("Label%1").arg(n)); }
  QColor Colour(int n) const { return Cell(n)->palette().color(QPalette::Window); }
  int YellowCells() const {
    int count = 0;
    for (int i = 1; i <= 12; ++i) count += Colour(i) == kYellow ? 1 : 0;
    return count;
  }
  void Key(int car) { QTest::keyClick(window.get(), static_cast<Qt::Key>(Qt::Key_F1 + car - 1)); }
  void StartCommonRace() {
    QTest::mouseClick(Find<QAbstractButton>("RadioGroup2Item3"), Qt::LeftButton);  // 20 min: common
    Click("Button1");
  }

  ui::TForm4 form4;
};

TEST_F(ResultsWindowTest, TheYellowMarkFollowsTheLastPassingCar) {
  ShowResults();
  StartCommonRace();
  Wait(5);
  Key(3);  // car 3 leads: position 1
  EXPECT_EQ(Cell(1)->text(), "3");
  EXPECT_EQ(Colour(1), kYellow);
  Wait(1);
  Key(2);  // car 2 is second: position 2 turns yellow, position 1 gets back its colour
  EXPECT_EQ(Colour(2), kYellow);
  EXPECT_NE(Colour(1), kYellow);
  EXPECT_EQ(Colour(1), form4.palette().color(QPalette::Active, QPalette::Button));
  EXPECT_EQ(YellowCells(), 1);
  Wait(20);
  Key(3);
  Wait(1);
  Key(3);  // too soon: refused, the mark stays
  EXPECT_EQ(Colour(1), kYellow);
  Wait(1);
  Key(2);  // car 2 had 1 lap, now 2 after car 3's 2 laps: stays second
  EXPECT_EQ(Colour(2), kYellow);
  EXPECT_EQ(Colour(1), form4.palette().color(QPalette::Active, QPalette::Button));
  EXPECT_EQ(Cell(14)->text(), "2");  // laps under position 2
  EXPECT_EQ(form4.ResultsLastCar(), 2);
}

TEST_F(ResultsWindowTest, AnOvertakingCarTakesTheMarkToItsNewPosition) {
  ShowResults();
  StartCommonRace();
  Wait(5);
  Key(1);
  Wait(1);
  Key(2);
  Wait(20);
  Key(2);  // car 2 overtakes: two laps against one
  EXPECT_EQ(Cell(1)->text(), "2");
  EXPECT_EQ(Colour(1), kYellow);
  EXPECT_EQ(Colour(2), QColor(Qt::white));
  EXPECT_EQ(YellowCells(), 1);
}

TEST_F(ResultsWindowTest, PositionsBeyondTheParticipantsStayEmpty) {
  ShowResults();
  // An earlier race of twelve cars leaves numbers in every cell.
  Find<QCheckBox>("CheckBox11")->click();
  Find<QCheckBox>("CheckBox12")->click();
  StartCommonRace();
  Wait(5);
  Key(12);
  EXPECT_EQ(Cell(1)->text(), "12");
  EXPECT_FALSE(Cell(12)->text().isEmpty());
  boxes.answers.push_back(true);
  boxes.answers.push_back(true);
  Click("Button75");
  Find<QCheckBox>("CheckBox11")->click();
  Find<QCheckBox>("CheckBox12")->click();
  Click("Button1");  // ten cars now
  Wait(5);
  for (int car = 1; car <= 10; ++car) Key(car);
  EXPECT_EQ(Cell(10)->text(), "10");
  EXPECT_EQ(Cell(11)->text(), "");
  EXPECT_EQ(Cell(12)->text(), "");
  EXPECT_EQ(Cell(24)->text(), "");
}

TEST_F(ResultsWindowTest, ClockAndLengthFollowEveryTickEvenWhileHidden) {
  Tick();
  EXPECT_EQ(form4.findChild<QLabel*>("Panel4")->text(), "5'");
  QTest::mouseClick(Find<QAbstractButton>("RadioGroup2Item5"), Qt::LeftButton);  // 45 min
  Tick();
  EXPECT_FALSE(form4.isVisible());
  EXPECT_EQ(form4.findChild<QLabel*>("Panel4")->text(), "45'");
  EXPECT_EQ(form4.findChild<QLabel*>("Panel3")->text(), Text("Panel1"));
}

TEST_F(ResultsWindowTest, HiddenItRemembersTheCarButWritesNoCell) {
  StartCommonRace();
  Wait(5);
  Key(4);
  EXPECT_EQ(form4.ResultsLastCar(), 4);
  EXPECT_EQ(Cell(1)->text(), "");
  EXPECT_EQ(YellowCells(), 0);
}

TEST_F(ResultsWindowTest, OnlyTheMultimonitorBoxHidesIt) {
  ShowResults();
  StartCommonRace();
  // The window manager's close button during a race.
  EXPECT_FALSE(form4.close());
  EXPECT_TRUE(form4.isVisible());
}

TEST_F(ResultsWindowTest, ItNeverTakesTheKeyboardFromTheMainWindow) {
  ShowResults();
  EXPECT_TRUE(form4.isVisible());
  EXPECT_FALSE(form4.isEnabled());
  EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window.get(); }, 1000));
  StartCommonRace();
  Wait(5);
  Key(1);
  EXPECT_EQ(Text("Label15"), "1");  // the key reached the lap input
  // The position message tells where the window really is, on a screen.
  EXPECT_NE(LastBox().find("-Vertical: " + std::to_string(form4.y())), std::string::npos);
  bool onAScreen = false;
  for (QScreen* screen : QGuiApplication::screens()) onAScreen |= screen->geometry().contains(form4.pos());
  EXPECT_TRUE(onAScreen);
}

}  // namespace
