// The main window's frame, its race-control controls and the bridge between
// the operator's input and the race control.
#include "ui/main_window.h"
#include "ui/meeting_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "platform/event_time.h"
#include "ui/connections_window.h"
#include "ui/files_browser.h"
#include "ui/results_window.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr Words kSensorLost{"¡SENSOR!", "SENSOR!"};
constexpr Words kSensorFault{"¡FALLO!", "FAULT!"};
constexpr Words kStopWarning{"Aviso antes de parar carrera", "Warning before stopping the race"};
constexpr Words kStopQuestion{"¿Seguro que quieres parar la carrera?", "Are you sure you want to stop the race?"};
constexpr Words kStopLastWarning{"Último aviso antes de parar carrera", "Last warning before stopping the race"};
constexpr Words kStopLastQuestion{"¿Segurísimo que quieres parar la carrera?",
                                  "Are you completely sure you want to stop the race?"};

// Qt's F1..F12 as the virtual-key codes the lap input takes (F1 = 112).
int VirtualKeyOf(int qtKey) {
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return race::kVkF1 + (qtKey - Qt::Key_F1);
  return 0;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& place, const QFont& font) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  button->setFont(font);
  return button;
}

}  // namespace

TForm1::TForm1(const MainWindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      services_(services),
      files_(services_.recordFolder, services_.lister),
      race_(services_.counter, services_.clock, services_.sound,
            services_.records != nullptr ? *services_.records : files_) {
  setObjectName(QStringLiteral("Form1"));
  setFixedSize(632, 453);
  setFont(PixelFont("System", 13));

  BuildControls();
  BuildCarTable();
  BuildSetupPanel();
  BuildEventsPanel();

  race_.SetObserver(this);
  race_.AddListener(this);
  race_.SetBootId(services_.bootId);
  ApplyLanguage(true);
  // The caption the window has until its start-up steps have run.
  setWindowTitle(QStringLiteral("Cuentavueltas/incidolímetro TRELVIX (TRELVIX). Versión 0.99."));
  Render();

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(kTickMillis);
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
  // Keys waiting for the gate count when their wait is over.
  keyRelease_ = new QTimer(this);
  keyRelease_->setObjectName(QStringLiteral("KeyRelease"));
  keyRelease_->setSingleShot(true);
  keyRelease_->setTimerType(Qt::PreciseTimer);
  connect(keyRelease_, &QTimer::timeout, this, [this] {
    race_.ReleaseHeldKeys();
    ArmKeyRelease();
  });

  // Key preview: the function keys are seen before whichever control has the focus.
  qApp->installEventFilter(this);
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  race_.SetObserver(nullptr);
  race_.RemoveListener(this);
}

void TForm1::SetResultsWindow(TForm4* form4) {
  if (form4_ != nullptr) race_.RemoveListener(form4_);
  form4_ = form4;
  if (form4_ == nullptr) return;
  race_.AddListener(form4_);
  race::RaceListener* listener = form4_;
  // A results window that goes away hears nothing more.
  connect(form4_, &QObject::destroyed, this, [this, listener] {
    race_.RemoveListener(listener);
    form4_ = nullptr;
  });
}

void TForm1::BuildControls() {
  button1_ = MakeButton(this, "Button1", QRect(0, 0, 73, 25), PixelFont("Arial", 16, true));
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });

  MakeCaption(this, "Label89", 2, 32, font());
  label88_ = MakeCell(this, QStringLiteral("Label88"), QRect(30, 28, 43, 16), CellFont(), Qt::AlignRight, Qt::white);

  memo2_ = new QTextEdit(this);
  memo2_->setObjectName(QStringLiteral("Memo2"));
  memo2_->setGeometry(0, 48, 77, 97);
  memo2_->setReadOnly(true);
  memo2_->setEnabled(false);
  memo2_->setFont(SmallFont());
  memo2_->setLineWrapMode(QTextEdit::NoWrap);
  memo2_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo2_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo2_->document()->setDocumentMargin(0);
  memo2_->setFrameStyle(QFrame::Box | QFrame::Plain);
  SetColour(memo2_, QPalette::Base, QColor(0, 255, 255));
  SetColour(memo2_, QPalette::Text, Qt::black);

  QLabel* keyHint = MakeCaption(this, "Label97", 10, 156, SmallFont());
  SetColour(keyHint, QPalette::Window, Qt::red);

  edit2_ = new QLineEdit(this);
  edit2_->setObjectName(QStringLiteral("Edit2"));
  edit2_->setGeometry(436, 4, 193, 19);
  edit2_->setEnabled(false);
  SetColour(edit2_, QPalette::Text, Qt::black);

  panel19_ = MakeTextPanel(this, "Panel19", QRect(432, 390, 129, 25), Qt::AlignLeft);
  button75_ = MakeButton(this, "Button75", QRect(572, 392, 53, 13), PixelFont("Arial", 11, true));
  connect(button75_, &QPushButton::clicked, this, [this] { Button75Click(); });
  button88_ = MakeButton(this, "Button88", QRect(572, 412, 53, 13), PixelFont("Arial", 11, true));
  connect(button88_, &QPushButton::clicked, this, [this] { Button88Click(); });

  panel1_ = MakeTextPanel(this, "Panel1", QRect(0, 422, 65, 25), Qt::AlignRight);
  // The idle clock "22h44' 33\"" fills the panel to its last pixel; stand-in
  // faces a hair wider than Arial must not cut its first digit.
  QFont clockFont = panel1_->font();
  clockFont.setLetterSpacing(QFont::AbsoluteSpacing, -0.6);
  panel1_->setFont(clockFont);
  panel1_->setIndent(0);
  panel2_ = MakeTextPanel(this, "Panel2", QRect(110, 422, 211, 25), Qt::AlignRight);
  panel5_ = MakeTextPanel(this, "Panel5", QRect(324, 422, 81, 25), Qt::AlignHCenter);
  panel20_ = MakeTextPanel(this, "Panel20", QRect(432, 422, 77, 25), Qt::AlignRight);

  // Beyond the design, in the free corner under "Ficheros": the connections
  // and the track sensor's state, which shows during a race too.
  connectionsButton_ = MakeButton(this, "ButtonConexiones", QRect(572, 432, 57, 13), PixelFont("Arial", 10, true));
  connect(connectionsButton_, &QPushButton::clicked, this, [this] { ConnectionsClick(); });
  // Beyond the design, in the free gap between the clock and the bottom
  // panel: the club meetings; hidden until a meeting window is given.
  meetingButton_ = MakeButton(this, "ButtonReunion", QRect(67, 426, 42, 17), PixelFont("Arial", 10, true));
  connect(meetingButton_, &QPushButton::clicked, this, [this] { MeetingClick(); });
  meetingButton_->hide();
  sensorPanel_ = MakeTextPanel(this, "PanelSensor", QRect(512, 428, 57, 21), Qt::AlignCenter);
  sensorPanel_->setFont(PixelFont("Arial", 11, true));
  sensorPanel_->hide();
}

void TForm1::SetDecoderLink(platform::DecoderLink* link) {
  if (link_ != nullptr) disconnect(link_, nullptr, this, nullptr);
  link_ = link;
  // Without a link no key waits for a gate.
  if (link_ == nullptr) {
    GateStatusChanged();
    return;
  }
  connect(link_, &platform::DecoderLink::Crossed, this, [this](int car, qint64 when, bool approximate) {
    // Timed when the gate saw it; a key waiting for it becomes a note.
    race_.GateCrossed(car, when, approximate);
    ArmKeyRelease();
  });
  connect(link_, &platform::DecoderLink::StatusChanged, this, [this] { GateStatusChanged(); });
  GateStatusChanged();
}

void TForm1::GateStatusChanged() {
  using State = platform::DecoderLink::State;
  const State state = link_ != nullptr ? link_->status().state : State::kOff;
  // A flooding gate still sees the cars; a lost one sees nothing.
  race_.SetGateConnected(state == State::kUp || state == State::kFault);
  RenderSensor();
  ArmKeyRelease();
}

void TForm1::ArmKeyRelease() {
  const auto due = race_.NextKeyRelease();
  if (!due) {
    keyRelease_->stop();
    return;
  }
  const std::int64_t frequency = std::max<std::int64_t>(race_.Timing().Frequency(), 1);
  const std::int64_t ticks = std::clamp<std::int64_t>(*due - services_.counter.Read(), 0, frequency);
  keyRelease_->start(static_cast<int>((ticks * 1000 + frequency - 1) / frequency));
}

void TForm1::RenderSensor() {
  using State = platform::DecoderLink::State;
  const State state = link_ != nullptr ? link_->status().state : State::kOff;
  sensorPanel_->setVisible(state != State::kOff);
  const bool es = race_.spanish();
  const bool bad = state == State::kLost || state == State::kFault;
  QString text;
  switch (state) {
    case State::kOff:
      break;
    case State::kConnecting:
      text = QStringLiteral("Sensor...");
      break;
    case State::kUp:
      text = QStringLiteral("Sensor OK");
      break;
    case State::kLost:
      text = Tr(kSensorLost, es);
      break;
    case State::kFault:
      text = Tr(kSensorFault, es);
      break;
  }
  sensorPanel_->setText(text);
  sensorPanel_->setToolTip(LinkStateText(state, es));
  SetColour(sensorPanel_, QPalette::Window,
            bad ? QColor(Qt::red) : state == State::kUp ? QColor::fromRgb(0, 200, 0) : palette().color(QPalette::Window));
  SetColour(sensorPanel_, QPalette::WindowText, bad ? QColor(Qt::white) : QColor(Qt::black));
}

void TForm1::SetMeetingWindow(MeetingWindow* window) {
  meeting_ = window;
  meetingButton_->setVisible(window != nullptr);
}

void TForm1::MeetingClick() {
  if (meeting_ == nullptr || race_.State().Running) return;
  meeting_->ShowModal(race_.spanish());
  activateWindow();
  button1_->setFocus();
}

void TForm1::ConnectionsClick() {
  if (connections_ != nullptr) connections_->ShowModal(race_.spanish());
  activateWindow();
  button1_->setFocus();
}

void TForm1::Render() {
  // Rendered on every pass and every tick: only what changed since the last
  // rendering touches a widget, so a pass reaches its disk write sooner.
  const race::RaceScreen& s = race_.Screen();
  const bool all = !shownValid_;
  RenderCarTable(all);
  RenderSetupPanel(all);
  RenderEventsPanel();
  ShowChanged(label88_, s.passCount, shown_.passCount, all);
  ShowChanged(panel19_, s.message, shown_.message, all);
  ShowChanged(panel1_, s.raceClock, shown_.raceClock, all);
  ShowChanged(panel2_, s.runningOrder, shown_.runningOrder, all);
  ShowChanged(panel5_, s.raceStatus, shown_.raceStatus, all);
  ShowChanged(panel20_, s.watchedCar, shown_.watchedCar, all);
  panel20_->setVisible(s.watchedPanelVisible);
  SetColour(edit2_, QPalette::Base, QColor::fromRgb(s.sponsorColour));
  ShowIdleOrRunning(race_.State().Running);
  if (form4_ != nullptr) form4_->ShowScreen(s);
  shownValid_ = true;
  if (QWidget* focus = std::exchange(focusAfterRender_, nullptr)) focus->setFocus();
}

void TForm1::ShowChanged(QLabel* label, const std::string& text, std::string& shown, bool all) {
  if (!all && text == shown) return;
  label->setText(Q(text));
  shown = text;
}

void TForm1::ShowIdleOrRunning(bool running) {
  panel4_->setEnabled(!running);
  panel3_->setEnabled(!running);
  panel6_->setEnabled(running);
  button1_->setEnabled(!running);
  button75_->setEnabled(running);
  button88_->setEnabled(!running);
  // The connections change settings: not during a race. Nor do meetings.
  connectionsButton_->setEnabled(!running);
  meetingButton_->setEnabled(!running);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* target = static_cast<QWidget*>(watched);
  if (target->window() != this) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  // Enter never breaks a line of the event memo.
  if ((target == memo1_ || target == memo1_->viewport()) &&
      (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
    return true;
  }
  // Every key-down counts, auto-repeat included; the lap input takes the
  // function keys only while a race runs, and then the control never sees them.
  const int virtualKey = VirtualKeyOf(key->key());
  if (virtualKey == 0) return false;
  // Timed at the press: the window system's stamp, when it is a plausible
  // one, else now. A key that waited behind earlier passes' disk writes
  // keeps the time it was pressed.
  const std::int64_t now = services_.counter.Read();
  const auto pressed = platform::EventTimeToCount(key->timestamp(), now, race_.Timing().Frequency());
  const bool taken = race_.FormKeyDown(virtualKey, pressed.value_or(now));
  ArmKeyRelease();
  return taken;
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!startedUp_ && !activationQueued_) {
    activationQueued_ = true;
    // After the window is on screen, so the report box stands in front of it.
    QTimer::singleShot(0, this, [this] { FormActivate(); });
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  // No closing during a race, and nothing said about it.
  if (raceRunning()) {
    event->ignore();
    return;
  }
  if (form4_ != nullptr) form4_->hide();
  event->accept();
}

void TForm1::Timer1Timer() {
  race_.Timer1Timer();
  ArmKeyRelease();
}

void TForm1::Button1Click() { race_.Button1Click(); }

void TForm1::Button75Click() {
  if (!raceRunning()) return;
  const bool es = race_.spanish();
  if (!services_.boxes.Confirm(kStopWarning.Pick(es), kStopQuestion.Pick(es))) {
    return;
  }
  if (!services_.boxes.Confirm(kStopLastWarning.Pick(es), kStopLastQuestion.Pick(es))) {
    return;
  }
  // The clock kept ticking while the boxes were open: a race that ended
  // meanwhile is not finished again.
  if (raceRunning()) race_.Finalizar(true);
}

void TForm1::Button88Click() {
  // The browser shows its texts in the language of the moment.
  if (form2_ != nullptr) form2_->ShowModal(race_.spanish(), race_.NextRaceBase());
  activateWindow();
  button1_->setFocus();
}

// The race control tells it once per handler, when the handler's lines
// are on disk: the widgets are brought up to date then.
void TForm1::ScreenChanged() { Render(); }

// The focus moves once the panels are enabled as for the race or for idle.
void TForm1::RaceStarted(const race::StartFact& /*fact*/) {
  memo1_->clear();
  focusAfterRender_ = memo1_;
}

void TForm1::RaceFinished(const race::FinishFact& /*fact*/) { focusAfterRender_ = button1_; }

void TForm1::ShowError(const std::string& message) {
  Render();  // the box stands over the window as it now is
  services_.boxes.Info(kAppTitle, message);
}

void TForm1::ShowMessage(const std::string& message) {
  Render();
  services_.boxes.Info(kAppTitle, message);
}

}  // namespace ui
