// The setup panel: timing follows duration, the participant boxes, the
// watched car, the spin boxes, the description and the switches.
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

#include "ui/results_window.h"
#include "window_fixture.h"

namespace {

using testing_support::WindowTest;

class SetupPanel : public WindowTest {
 protected:
  bool Individual() const { return Find<QAbstractButton>("RadioGroup1Item0")->isChecked(); }
  bool Common() const { return Find<QAbstractButton>("RadioGroup1Item1")->isChecked(); }
  QSpinBox* Minutes() const { return Find<QSpinBox>("SpinEdit1"); }
  // One step of the spin box's arrows.
  void SpinUp(QSpinBox* spin) const { spin->stepUp(); }
  void SpinDown(QSpinBox* spin) const { spin->stepDown(); }
};

TEST_F(SetupPanel, TimingFollowsTheRaceLength) {
  Open();
  Click("RadioGroup2Item3");  // 20 min
  EXPECT_TRUE(Common());
  EXPECT_FALSE(Find("Panel20")->isVisibleTo(window.get()));
  Click("RadioGroup2Item1");  // 10 min
  EXPECT_TRUE(Individual());
  EXPECT_TRUE(Find("Panel20")->isVisibleTo(window.get()));

  Click("RadioGroup2Item6");  // Otra...
  Minutes()->setValue(10);
  EXPECT_TRUE(Individual());
  SpinUp(Minutes());
  EXPECT_TRUE(Common());
  SpinDown(Minutes());
  EXPECT_TRUE(Individual());

  // Set by hand, the timing holds until the length changes again.
  Click("RadioGroup2Item0");
  Click("RadioGroup1Item1");
  EXPECT_TRUE(Common());
  EXPECT_FALSE(Find("Panel20")->isVisibleTo(window.get()));
  SpinUp(Minutes());
  EXPECT_TRUE(Individual());
}

TEST_F(SetupPanel, RaceLengthAndMinimumLapGoIntoTheRace) {
  Open();
  Click("RadioGroup2Item6");
  Minutes()->setValue(3);
  Find<QSpinBox>("SpinEdit2")->setValue(20);
  Click("Button1");
  Wait(1);
  QTest::keyClick(window.get(), Qt::Key_F1);  // first crossing
  Wait(15);
  QTest::keyClick(window.get(), Qt::Key_F1);  // sooner than 20 s
  EXPECT_EQ(Text("Panel19"), "1 Error F1");
  Wait(3 * 60);
  Tick();
  EXPECT_EQ(Text("Panel5"), "Tiempo");
}

TEST_F(SetupPanel, SpinBoxesChangeOnlyByTheirArrows) {
  Open();
  Minutes()->setFocus();
  QTest::keyClicks(Minutes(), "99");
  EXPECT_EQ(Minutes()->value(), 1);
  EXPECT_EQ(Minutes()->maximum(), 180);
  EXPECT_EQ(Find<QSpinBox>("SpinEdit2")->minimum(), 3);
  EXPECT_EQ(Find<QSpinBox>("SpinEdit2")->value(), 13);
}

TEST_F(SetupPanel, LongRaceNoticeWhenTheMinutesReachTheirLimit) {
  Open();
  Minutes()->setValue(179);
  const std::size_t before = boxes.shown.size();
  SpinUp(Minutes());
  ASSERT_EQ(boxes.shown.size(), before + 1);
  EXPECT_EQ(LastBox(), "Para carreras de larga duración se recomienda cuentavueltas automático.");
  SpinUp(Minutes());  // already at the limit
  EXPECT_EQ(Minutes()->value(), 180);
  EXPECT_EQ(boxes.shown.size(), before + 1);
}

TEST_F(SetupPanel, ParticipantBoxesSetCountAndStateWords) {
  Open();
  Click("CheckBox11");
  EXPECT_EQ(Text("Label96"), "11");
  EXPECT_EQ(Text("Label77"), "Parado");
  for (int n = 1; n <= 12; ++n) {
    auto* box = Find<QCheckBox>(("CheckBox" + std::to_string(n)).c_str());
    if (box->isChecked()) QTest::mouseClick(box, Qt::LeftButton);
  }
  EXPECT_EQ(Text("Label96"), "0");
  for (int n = 1; n <= 12; ++n) EXPECT_EQ(Text(("Label" + std::to_string(n + 66)).c_str()), "Desactivado") << n;
}

TEST_F(SetupPanel, WatchedCarIsChosenByItsLapsCellUnderIndividualTiming) {
  Open();
  Click("Button1");  // 5 min, individual timing
  Wait(2);
  QTest::keyClick(window.get(), Qt::Key_F3);  // car 3 starts its own clock
  ClickLabel("Label17");
  Wait(10);
  Tick();
  EXPECT_EQ(Text("Panel20").left(3), "3: ");
  const QString watched = Text("Panel20");
  ClickLabel("Label25");  // car 11 does not race: nothing changes
  Tick();
  EXPECT_EQ(Text("Panel20"), watched);
  boxes.answers = {true, true};
  Click("Button75");

  // Common timing: the click does nothing and the panel is hidden.
  Click("RadioGroup2Item4");
  Click("Button1");
  Wait(2);
  QTest::keyClick(window.get(), Qt::Key_F4);
  ClickLabel("Label18");
  Tick();
  EXPECT_FALSE(Find("Panel20")->isVisibleTo(window.get()));
  EXPECT_EQ(Text("Panel20"), "");
}

TEST_F(SetupPanel, DescriptionIsKeptPerLanguageAndWrittenAtTheStart) {
  Open();
  auto* edit = Find<QLineEdit>("Edit1");
  EXPECT_EQ(edit->text(), "Descripción de carrera");
  edit->selectAll();
  QTest::keyClicks(edit, "Final del campeonato");
  ClickLabel("Label98");
  EXPECT_EQ(edit->text(), "Race description");
  ClickLabel("Label98");
  EXPECT_EQ(edit->text(), "Final del campeonato");
  QTest::keyClicks(edit, QString(60, QChar('x')));
  EXPECT_EQ(edit->text().size(), 50);
  Click("Button1");
  EXPECT_EQ(dir.Read("26120601.cls").rfind("Final del campeonato", 0), 0u);
}

TEST_F(SetupPanel, SoundBoxTurnsTheCuesOn) {
  sound.AddAllCues();
  Open();
  Click("CheckBox13");
  Click("Button1");
  EXPECT_EQ(sound.played, std::vector<std::string>{"sal.wav"});
}

TEST_F(SetupPanel, MultimonitorShowsTheResultsWindowAndTellsWhere) {
  ui::TForm4 results;
  Open();
  window->SetResultsWindow(&results);
  Click("CheckBox14");
  EXPECT_TRUE(results.isVisible());
  // The fixed spot left of the primary screen is off screen here: the window
  // goes to a screen that exists and the message says where.
  EXPECT_EQ(LastBox(), "Ventana de resultados en:\r-Vertical: " + std::to_string(results.y()) + "\r-Horizontal: " +
                           std::to_string(results.x()));
  EXPECT_NE(results.x(), ui::kResultsFixedLeft);
  Click("CheckBox14");
  EXPECT_FALSE(results.isVisible());
}

TEST_F(SetupPanel, SetupIsFixedWhileARaceRuns) {
  Open();
  Click("Button1");
  Click("RadioGroup2Item3");
  Click("CheckBox12");
  ClickLabel("Label98");
  EXPECT_TRUE(Individual());
  EXPECT_FALSE(Find<QCheckBox>("CheckBox12")->isChecked());
  EXPECT_EQ(Text("Label52"), "Vueltas");
}

}  // namespace
