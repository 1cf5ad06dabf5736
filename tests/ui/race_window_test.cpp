// A race run from the window as the operator runs it: the start button, the
// function keys wherever the focus is, event buttons and manual texts, the
// stop with its two questions, and closing.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTextCursor>

#include "window_fixture.h"

namespace {

using testing_support::WindowTest;

// Keeps the keys a control receives.
class KeyRecorder final : public QObject {
 public:
  std::vector<int> keys;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) keys.push_back(static_cast<QKeyEvent*>(event)->key());
    return false;
  }
};

class RaceWindow : public WindowTest {
 protected:
  // A 20-minute race (common timing) with cars 1 to 10.
  void StartCommonRace() {
    Open();
    Click("RadioGroup2Item3");
    Click("Button1");
    ASSERT_TRUE(window->raceRunning());
  }
  QPlainTextEdit* Memo() const { return Find<QPlainTextEdit>("Memo1"); }
  std::string Events() const { return dir.Read("26120601.inc"); }
  std::string Passes() const { return dir.Read("26120601.pss"); }
};

TEST_F(RaceWindow, StartPutsTheWindowInRaceAndTheFocusOnTheEventMemo) {
  StartCommonRace();
  EXPECT_EQ(Text("Panel5"), "Empezada");
  EXPECT_FALSE(Find("Panel3")->isEnabled());
  EXPECT_FALSE(Find("Panel4")->isEnabled());
  EXPECT_TRUE(Find("Panel6")->isEnabled());
  EXPECT_FALSE(Find("Button1")->isEnabled());
  EXPECT_TRUE(Find("Button75")->isEnabled());
  EXPECT_FALSE(Find("Button88")->isEnabled());
  EXPECT_FALSE(Find("ButtonReunion")->isEnabled());
  EXPECT_TRUE(Find("Panel7")->isEnabled());
  EXPECT_FALSE(Find("Panel17")->isEnabled());  // car 11 does not race
  EXPECT_EQ(QApplication::focusWidget(), Memo());
  EXPECT_EQ(Text("Label17"), "0");
  EXPECT_EQ(Text("Label69"), "En carrera");
  EXPECT_TRUE(dir.Exists("26120600.TXT"));
}

TEST_F(RaceWindow, FunctionKeysCountPassesWhereverTheFocusIs) {
  StartCommonRace();
  QTest::keyClicks(Memo(), "abc");
  KeyRecorder memoKeys;
  Memo()->installEventFilter(&memoKeys);
  Wait(20);
  QTest::keyClick(window.get(), Qt::Key_F3);  // sent to the window itself
  Wait(5);
  QTest::keyClick(Memo(), Qt::Key_F1);  // sent to the control with the focus
  Wait(25);
  QTest::keyClick(Find("Button2"), Qt::Key_F3, Qt::ShiftModifier);  // a modifier held
  EXPECT_EQ(Memo()->toPlainText(), "abc");
  EXPECT_TRUE(memoKeys.keys.empty());  // the control never saw the keys
  EXPECT_EQ(Text("Label17"), "2");
  EXPECT_EQ(Text("Label29"), "30,000");  // car 3's last lap
  EXPECT_EQ(Text("Label15"), "1");
  EXPECT_EQ(Text("Label56"), "1");  // car 3 leads
  EXPECT_EQ(Text("Label54"), "2");
  EXPECT_EQ(Text("Label88"), "3");
  EXPECT_EQ(Text("Panel2"), "  3  1  2  4  5  6  7  8  9 10");
  EXPECT_EQ(Passes(), "1\t3\t1\t20,000\t00'20\"000\r\n2\t1\t1\t25,000\t00'25\"000\r\n3\t3\t2\t30,000\t00'50\"000\r\n");
}

TEST_F(RaceWindow, AKeyIsTimedByTheWindowSystemsStampOfThePress) {
  StartCommonRace();  // at counter 5 s: 5000 ms of the monotonic clock
  // Pressed at 13000 ms, handled 300 ms later behind a slow disk.
  Wait(8.3);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  press.setTimestamp(13000);
  QApplication::sendEvent(Memo(), &press);
  // The press lies within its stamp's millisecond: its middle, 8.0005 s.
  EXPECT_EQ(Text("Label27"), "8,001");
  // A stamp on another clock is not taken: the key is timed as handled.
  Wait(19.7005);
  QKeyEvent other(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  other.setTimestamp(1733650000);
  QApplication::sendEvent(Memo(), &other);
  EXPECT_EQ(Text("Label27"), "20,000");
}

TEST_F(RaceWindow, AKeyWaitsForTheGateThatHasSeenItsCar) {
  QTcpServer gate;
  ASSERT_TRUE(gate.listen(QHostAddress::LocalHost));
  testing_support::FakeCounter linkCounter;  // the link's time stands still: the gate never falls silent
  platform::DecoderLink link(linkCounter);
  StartCommonRace();
  window->SetDecoderLink(&link);
  platform::LinkChoice choice;
  choice.kind = platform::LinkChoice::Kind::kTcp;
  choice.host = "127.0.0.1";
  choice.port = gate.serverPort();
  link.Open(choice);
  ASSERT_TRUE(QTest::qWaitFor([&] { return link.status().state == platform::DecoderLink::State::kUp; }));
  const std::int64_t start = window->Race().State().StartCount;
  const auto at = [start](double seconds) { return start + static_cast<std::int64_t>(seconds * 1e9); };
  Wait(20.25);
  emit link.Crossed(3, at(20), false);  // car 3 seen by the gate
  // F3 120 ms after the next crossing, whose line comes 250 ms late.
  Wait(19.87);
  QTest::keyClick(Memo(), Qt::Key_F3);
  EXPECT_EQ(Text("Label17"), "1");
  Wait(0.13);
  emit link.Crossed(3, at(40), false);
  EXPECT_EQ(Text("Label17"), "2");
  EXPECT_EQ(Text("Panel19"), "1 F3: sensor");
  // A crossing the gate missed: the key counts at its press once its wait is over.
  Wait(20);
  QTest::keyClick(Memo(), Qt::Key_F3);
  EXPECT_EQ(Text("Label17"), "2");
  Wait(0.5);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Text("Label17") == "3"; }));
  EXPECT_EQ(Passes(), "1\t3\t1\t20,000\t00'20\"000\r\n2\t3\t2\t20,000\t00'40\"000\r\n"
                      "3\t3\t3\t20,250\t01'00\"250\r\n");
  EXPECT_EQ(Events(), "1\t3\t--\t40,120\tTECL\tTecla F3 sustituida por el sensor (40,000)\r\n");
  window->SetDecoderLink(nullptr);
}

TEST_F(RaceWindow, HeldKeyRepeatsAndKeysOfCarsNotRacingBecomeEvents) {
  StartCommonRace();
  Wait(20);
  QTest::keyClick(Memo(), Qt::Key_F3);
  Wait(0.03);
  // The keyboard's auto-repeat: each repeat is a pass attempt, refused as
  // sooner than the minimum lap.
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(Memo(), &repeat);
  EXPECT_EQ(Text("Panel19"), "1 Error F3");
  QTest::keyClick(Memo(), Qt::Key_F11);
  EXPECT_EQ(Text("Panel19"), "2 No corre F11");
  EXPECT_EQ(Text("Label87"), "2");
  EXPECT_EQ(Events(), "1\t3\t--\t20,030\tERRO\r\n2\t11\t--\t20,030\tNOCO\r\n");
  EXPECT_EQ(Text("Label17"), "1");
}

TEST_F(RaceWindow, FunctionKeysReachTheFocusedControlWhenNoRaceRuns) {
  Open();
  auto* description = Find<QLineEdit>("Edit1");
  description->setFocus();
  KeyRecorder recorder;
  description->installEventFilter(&recorder);
  QTest::keyClick(description, Qt::Key_F5);
  EXPECT_EQ(recorder.keys, std::vector<int>{Qt::Key_F5});
  EXPECT_EQ(Text("Label88"), "");
  EXPECT_FALSE(dir.Exists("26120601.pss"));
}

TEST_F(RaceWindow, EventButtonsRecordTheirEventForTheirCar) {
  StartCommonRace();
  for (int lap = 0; lap < 12; ++lap) {
    Wait(25);
    QTest::keyClick(window.get(), Qt::Key_F3);
  }
  Wait(5.125);
  Click("Button4");  // R3
  EXPECT_EQ(Text("Panel19"), "Reposta 3");
  Click("Button78");  // G3
  EXPECT_EQ(Text("Panel19"), "Stop&Go de 3");
  Click("Button54");  // Z5
  EXPECT_EQ(Text("Panel19"), "Zurb de 5");
  Click("Button38");  // B1
  EXPECT_EQ(Text("Panel19"), "A boxes 1");
  EXPECT_EQ(Text("Label87"), "4");
  // The focus goes back to the memo after every press.
  EXPECT_EQ(QApplication::focusWidget(), Memo());
  // Car 11 does not race: its row is disabled and records nothing.
  Click("Button12");
  EXPECT_EQ(Text("Label87"), "4");
  EXPECT_EQ(Events(),
            "1\t3\t12\t305,125\tRPTJ\r\n2\t3\t12\t305,125\tS&G\r\n3\t5\t0\t305,125\tZURB\r\n"
            "4\t1\t0\t305,125\tBOX\r\n");
}

TEST_F(RaceWindow, ManualTextIsOneFieldWithoutLineBreaks) {
  StartCommonRace();
  Wait(61.5);
  Click("Button74");  // an empty memo writes nothing
  EXPECT_EQ(Text("Label87"), "0");
  QTest::keyClicks(Memo(), "Coche 4 pierde");
  QTest::keyClick(Memo(), Qt::Key_Return);  // Enter does not break the line
  QTest::keyClicks(Memo(), " una rueda");
  EXPECT_EQ(Memo()->toPlainText(), "Coche 4 pierde una rueda");
  Click("Button74");
  EXPECT_EQ(Text("Panel19"), "1 manual");
  EXPECT_EQ(Memo()->toPlainText(), "");
  EXPECT_EQ(QApplication::focusWidget(), Memo());
  // A pasted text wrapping over lines, with a TAB and beyond 112 characters.
  Memo()->setPlainText(QString("a\tb\n") + QString(120, QChar('x')));
  EXPECT_EQ(Memo()->toPlainText().size(), 112);
  Click("Button74");
  EXPECT_EQ(Events(), "1\t--\t--\t61,500\tMANU\tCoche 4 pierde una rueda\r\n2\t--\t--\t61,500\tMANU\ta b" +
                          std::string(108, 'x') + "\r\n");
}

TEST_F(RaceWindow, AFullMemoRefusesKeystrokesAndKeepsItsCaret) {
  StartCommonRace();
  const QString full = QString(56, QChar('a')) + QString(56, QChar('b'));
  QTest::keyClicks(Memo(), full);
  ASSERT_EQ(Memo()->toPlainText(), full);
  QTextCursor caret = Memo()->textCursor();
  caret.setPosition(10);
  Memo()->setTextCursor(caret);
  QTest::keyClicks(Memo(), "Z");
  EXPECT_EQ(Memo()->toPlainText(), full);
  EXPECT_EQ(Memo()->textCursor().position(), 10);
  // With room again, typing goes on at the caret.
  QTest::keyClick(Memo(), Qt::Key_Backspace);
  QTest::keyClicks(Memo(), "Z");
  EXPECT_EQ(Memo()->toPlainText(), QString(9, QChar('a')) + "Z" + full.mid(10));
}

TEST_F(RaceWindow, StopNeedsTwoOks) {
  StartCommonRace();
  boxes.answers = {false};
  Click("Button75");
  ASSERT_EQ(boxes.shown.size(), 2u);  // the start-up report, then the first question
  EXPECT_TRUE(boxes.shown[1].question);
  EXPECT_EQ(boxes.shown[1].caption, "Aviso antes de parar carrera");
  EXPECT_EQ(boxes.shown[1].text, "¿Seguro que quieres parar la carrera?");
  EXPECT_TRUE(window->raceRunning());

  boxes.answers = {true, false};
  Click("Button75");
  ASSERT_EQ(boxes.shown.size(), 4u);
  EXPECT_EQ(boxes.shown[3].caption, "Último aviso antes de parar carrera");
  EXPECT_EQ(boxes.shown[3].text, "¿Segurísimo que quieres parar la carrera?");
  EXPECT_TRUE(window->raceRunning());

  Wait(90);
  boxes.answers = {true, true};
  Click("Button75");
  EXPECT_FALSE(window->raceRunning());
  EXPECT_EQ(Text("Panel5"), "Finalizada");
  EXPECT_EQ(Text("Label92"), "26120602");
  EXPECT_TRUE(Find("Button1")->isEnabled());
  EXPECT_TRUE(Find("ButtonReunion")->isEnabled());
  EXPECT_FALSE(Find("Panel6")->isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), Find("Button1"));
  EXPECT_NE(dir.Read("26120601.cls").find("Carrera parada a 01'30\"000"), std::string::npos);
}

TEST_F(RaceWindow, RaceEndingWhileTheStopQuestionIsOpenIsFinishedOnce) {
  StartCommonRace();
  boxes.answers = {true, true};
  boxes.whileOpen = [this](const auto& box) {
    if (box.caption != "Último aviso antes de parar carrera") return;
    // The clock keeps ticking behind the box: the race time and the minute
    // of grace run out.
    Wait(20 * 60 + 61);
    Tick();
  };
  Click("Button75");
  EXPECT_FALSE(window->raceRunning());
  const std::string classification = dir.Read("26120601.cls");
  EXPECT_NE(classification.find("Carrera terminada normalmente"), std::string::npos) << classification;
  EXPECT_EQ(classification.find("Carrera parada"), std::string::npos) << classification;
  EXPECT_EQ(Text("Label92"), "26120602");
}

TEST_F(RaceWindow, ClosingIsRefusedSilentlyWhileARaceRuns) {
  StartCommonRace();
  const std::size_t boxesBefore = boxes.shown.size();
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(boxes.shown.size(), boxesBefore);
  boxes.answers = {true, true};
  Click("Button75");
  EXPECT_TRUE(window->close());
}

TEST_F(RaceWindow, StopQuestionsFollowTheLanguage) {
  Open();
  ClickLabel("Label98");
  Click("Button1");
  Click("Button75");  // no answers: Cancel
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].caption, "Warning before stopping the race");
  EXPECT_EQ(boxes.shown[1].text, "Are you sure you want to stop the race?");
  boxes.answers = {true};
  Click("Button75");
  EXPECT_EQ(boxes.shown[3].caption, "Last warning before stopping the race");
  EXPECT_EQ(boxes.shown[3].text, "Are you completely sure you want to stop the race?");
  EXPECT_TRUE(window->raceRunning());
}

TEST_F(RaceWindow, FailedRecordWriteIsShownAndTheRaceGoesOn) {
  testing_support::MemorySink sink;
  sink.failEvents = true;
  records = &sink;
  StartCommonRace();
  Wait(30);
  Click("Button2");
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].caption, "TRELVIX");
  EXPECT_EQ(boxes.shown[1].text, "No space left on device");
  EXPECT_TRUE(window->raceRunning());
  QTest::keyClick(window.get(), Qt::Key_F1);
  EXPECT_EQ(Text("Label15"), "1");
  EXPECT_EQ(sink.passes.size(), 1u);
}

}  // namespace

// A missed crossing in two clicks: "+1" armed, then the car's laps. No key
// reaches the button, and the standings follow at once.
TEST_F(RaceWindow, AMissedCrossingIsAddedWithTwoClicks) {
  StartCommonRace();
  Wait(20);
  QTest::keyClick(window.get(), Qt::Key_F3);
  Wait(40);  // car 3's second lap hides a crossing
  QTest::keyClick(window.get(), Qt::Key_F3);
  auto* addLap = Find<QPushButton>("AddLapButton");
  EXPECT_EQ(addLap->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(addLap->geometry(), QRect(110, 20, 42, 16));
  Click("AddLapButton");
  EXPECT_TRUE(addLap->isChecked());
  QTest::keyClick(window.get(), Qt::Key_F1);  // a key meanwhile is a pass as ever
  ClickLabel("Label17");                     // car 3's laps
  EXPECT_FALSE(addLap->isChecked());
  EXPECT_EQ(Text("Label17"), "3");
  EXPECT_EQ(Text("Label42"), "20,000");  // a half is car 3's fastest lap now
  EXPECT_EQ(Text("Panel2").left(6), "  3  1");
  EXPECT_NE(Events().find("\t3\t--\t60,000\tCORR\t+1 P2: Paso no marcado\r\n"), std::string::npos) << Events();
  // Unarmed, a click on the laps only watches the car.
  ClickLabel("Label17");
  EXPECT_EQ(Text("Label17"), "3");
}
