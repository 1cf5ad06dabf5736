#pragma once
// TForm1, the race director's window: race setup, the car table, event entry
// and race control. It renders what the race control decides and passes the
// operator's keys and clicks on to it.

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/counter.h"
#include "platform/decoder_link.h"
#include "platform/directory.h"
#include "platform/message_boxes.h"
#include "platform/sound.h"
#include "race/race_control.h"
#include "records/race_files.h"

class QButtonGroup;
class QCheckBox;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTextEdit;
class QTimer;

namespace ui {

class ConnectionsWindow;
class MeetingWindow;
class TForm2;
class TForm4;

// What the window needs from the machine; tests put fakes in.
struct MainWindowServices {
  platform::PerformanceCounter& counter;
  platform::WallClock& clock;
  platform::SoundDevice& sound;
  platform::MessageBoxes& boxes;
  platform::DirectoryLister& lister;
  std::string recordFolder;  // where the record files go
  std::string bootId;        // the machine's boot identity, for the race journal
  // Where the race's lines go; the record files in recordFolder when unset.
  records::RecordSink* records = nullptr;
  // The other folder this copy keeps records in: the day's numbering goes on
  // after its races too. When the program's own folder could not be written
  // it is that folder, and start-up says so if it holds races.
  std::string otherRecordFolder{};
  bool programFolderUnwritable = false;
};

// The caption of every report box.
inline constexpr const char* kAppTitle = platform::kProgramTitle;
inline constexpr int kTickMillis = 222;

class TForm1 final : public QWidget, private race::RaceObserver, private race::RaceListener {
 public:
  explicit TForm1(const MainWindowServices& services, QWidget* parent = nullptr);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // The other windows it opens; either may be left unset. The results
  // window listens to the race's facts from then on.
  void SetFilesBrowser(TForm2* form2) { form2_ = form2; }
  void SetResultsWindow(TForm4* form4);
  // The track sensor's link, whose passes go the way of the keys', and the
  // window that sets connections up; either may be left unset.
  void SetDecoderLink(platform::DecoderLink* link);
  void SetConnectionsWindow(ConnectionsWindow* window) { connections_ = window; }
  // The club meetings' window, opened by "Reunión" / "Meeting"; may be left unset.
  void SetMeetingWindow(MeetingWindow* window);
  // The race the setup panel holds, and the panel made to show another
  // between races (what a heat's "Prepare" does).
  race::RaceSetup PanelSetup() const { return race_.Setup().Setup(race_.spanish()); }
  void ShowSetup(const race::RaceSetup& setup) { race_.ShowSetup(setup); }
  // Whoever follows the race (the results page, the voice, a meeting)
  // hears its facts after the results window, in the order added.
  void AddRaceListener(race::RaceListener* listener) { race_.AddListener(listener); }
  void RemoveRaceListener(race::RaceListener* listener) { race_.RemoveListener(listener); }
  // Run once the start-up steps and their boxes are done.
  void SetAfterStartUp(std::function<void()> after) { afterStartUp_ = std::move(after); }
  const race::RaceControl& Race() const noexcept { return race_; }
  // Called with an exit code when start-up finds the program cannot run.
  void SetQuitHandler(std::function<void(int)> quit) { quit_ = std::move(quit); }

  // The start-up steps: run once, when the window is first shown.
  void FormActivate();
  bool startedUp() const noexcept { return startedUp_; }

  // The clock tick, every 222 ms for the whole run.
  void Timer1Timer();

  bool raceRunning() const noexcept { return race_.State().Running; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Building (one file each).
  void BuildControls();
  void BuildCarTable();
  void BuildSetupPanel();
  void BuildEventsPanel();

  // Rendering the race control's screen.
  void Render();
  void RenderCarTable(bool all);
  void RenderSetupPanel(bool all);
  static void ShowChanged(QLabel* label, const std::string& text, std::string& shown, bool all);
  void RenderEventsPanel();
  void ApplyLanguage(bool atStartUp);
  void ShowIdleOrRunning(bool running);

  // Handlers of the operator's actions.
  void Button1Click();
  void Button75Click();
  void Button88Click();
  void ConnectionsClick();
  void MeetingClick();
  void RenderSensor();
  // The gate's link came up or went down (keys wait for it only while it is up).
  void GateStatusChanged();
  // Arms the single shot that hands the race the keys whose wait is over.
  void ArmKeyRelease();
  void CheckBoxClick(int car, bool ticked);
  void CheckBox14Click(bool ticked);
  void Label98Click();
  void SpinEdit1Change(int minutes);
  void Edit1Change(const QString& text);
  void EventButtonClick(int buttonNumber);
  void Button74Click();
  void LimitMemo1();
  void Select(int car);
  std::string StartUpReport(bool& limitReached);
  // After the report: a race left unfinished by a crash may go on.
  void OfferToResume();

  // Race observer.
  void ScreenChanged() override;
  void ShowError(const std::string& message) override;
  void ShowMessage(const std::string& message) override;
  // The race's start and finish move the focus.
  void RaceStarted(const race::StartFact& fact) override;
  void RaceFinished(const race::FinishFact& fact) override;

  MainWindowServices services_;
  records::RaceFiles files_;
  race::RaceControl race_;
  TForm2* form2_ = nullptr;
  TForm4* form4_ = nullptr;
  platform::DecoderLink* link_ = nullptr;
  ConnectionsWindow* connections_ = nullptr;
  MeetingWindow* meeting_ = nullptr;
  std::function<void(int)> quit_;
  std::function<void()> afterStartUp_;
  bool startedUp_ = false;
  // What the widgets show now, so a rendering touches only what changed.
  race::RaceScreen shown_;
  std::array<bool, race::kCars + 1> shownParticipates_{};
  struct SetupShown {
    int durationItem = -1, timingItem = -1, spinMinutes = -1, minLapSeconds = -1;
    bool soundTicked = false;
    bool operator==(const SetupShown&) const = default;
  } shownSetup_;
  bool shownValid_ = false;
  bool activationQueued_ = false;
  QWidget* focusAfterRender_ = nullptr;  // where the focus goes when the race starts or ends

  QTimer* timer1_ = nullptr;
  QTimer* keyRelease_ = nullptr;
  // Car table, indexed by car number 1..12.
  std::array<QCheckBox*, race::kCars + 1> participant_{};
  std::array<QLabel*, race::kCars + 1> laps_{};
  std::array<QLabel*, race::kCars + 1> lastLap_{};
  std::array<QLabel*, race::kCars + 1> fastestLap_{};
  std::array<QLabel*, race::kCars + 1> accumulated_{};
  std::array<QLabel*, race::kCars + 1> state_{};
  std::array<QLabel*, race::kCars + 1> position_{};
  std::array<QFrame*, race::kCars + 1> eventRow_{};

  QPushButton* button1_ = nullptr;
  QPushButton* button75_ = nullptr;
  QPushButton* button88_ = nullptr;
  QLabel* label88_ = nullptr;
  QTextEdit* memo2_ = nullptr;
  QFrame* panel3_ = nullptr;
  QFrame* panel4_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QLabel* panel1_ = nullptr;
  QLabel* panel2_ = nullptr;
  QLabel* panel5_ = nullptr;
  QLabel* panel20_ = nullptr;
  QLabel* panel19_ = nullptr;
  QPushButton* connectionsButton_ = nullptr;
  QPushButton* meetingButton_ = nullptr;
  QLabel* sensorPanel_ = nullptr;

  // Setup panel.
  QGroupBox* radioGroup2_ = nullptr;
  QButtonGroup* durations_ = nullptr;
  QSpinBox* spinEdit1_ = nullptr;
  QGroupBox* radioGroup1_ = nullptr;
  QButtonGroup* timings_ = nullptr;
  QLabel* label96_ = nullptr;
  QLabel* label92_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QSpinBox* spinEdit2_ = nullptr;
  QCheckBox* checkBox13_ = nullptr;
  QCheckBox* checkBox14_ = nullptr;
  QPlainTextEdit* memo3_ = nullptr;

  // Events panel.
  QFrame* panel6_ = nullptr;
  QLabel* label87_ = nullptr;
  // Armed, the next click on a car's laps adds a crossing nobody pressed.
  QPushButton* addLap_ = nullptr;
  QPlainTextEdit* memo1_ = nullptr;
  QString memo1Text_;  // the memo's text before the last edit
  int memo1Caret_ = 0;
};

}  // namespace ui
