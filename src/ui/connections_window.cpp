#include "ui/connections_window.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QSettings>
#include <QSpinBox>

#include "ui/widgets.h"

namespace ui {

namespace {

constexpr int kWidth = 360;
constexpr int kSensorHeight = 240;
const QColor kSeen = QColor::fromRgb(0, 200, 0);
constexpr const char* kChoiceKey = "decoder/link";

QStringList MachinePorts() {
  QStringList ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) ports << info.systemLocation();
  return ports;
}

constexpr Words kNoSensor{"Sin sensor", "No sensor"};
constexpr Words kConnecting{"Conectando...", "Connecting..."};
constexpr Words kConnected{"Conectado", "Connected"};
constexpr Words kLost{"PERDIDO: esperando al sensor", "LOST: waiting for the sensor"};
constexpr Words kFault{"FALLO: el sensor inunda de líneas", "FAULT: the sensor floods lines"};
constexpr Words kTitle{"Conexiones", "Connections"};
constexpr Words kTrackSensor{"Sensor de paso", "Track sensor"};
constexpr Words kNone{"Ninguno", "None"};
constexpr Words kSerialPort{"Puerto serie", "Serial port"};
constexpr Words kNetwork{"Red (TCP)", "Network (TCP)"};
constexpr Words kHostHint{"nombre o dirección", "name or address"};
constexpr Words kConnect{"Conectar", "Connect"};
constexpr Words kClose{"Cerrar", "Close"};
constexpr Words kLines{"Líneas: ", "Lines: "};
constexpr Words kBadLines{"   Líneas malas: ", "   Bad lines: "};
constexpr Words kDropped{"   Descartadas: ", "   Dropped: "};
constexpr Words kCar{"coche ", "car "};
constexpr Words kSeenWord{" visto", " seen"};

}  // namespace

platform::LinkChoice LoadLinkChoice(QSettings& settings) {
  const auto choice = platform::ParseLinkChoice(settings.value(QString::fromLatin1(kChoiceKey)).toString().toStdString());
  return choice.value_or(platform::LinkChoice{});
}

void SaveLinkChoice(QSettings& settings, const platform::LinkChoice& choice) {
  settings.setValue(QString::fromLatin1(kChoiceKey), QString::fromStdString(platform::LinkChoiceText(choice)));
  settings.sync();
}

QString LinkStateText(platform::DecoderLink::State state, bool spanish) {
  using State = platform::DecoderLink::State;
  switch (state) {
    case State::kOff:
      return Tr(kNoSensor, spanish);
    case State::kConnecting:
      return Tr(kConnecting, spanish);
    case State::kUp:
      return Tr(kConnected, spanish);
    case State::kLost:
      return Tr(kLost, spanish);
    case State::kFault:
      return Tr(kFault, spanish);
  }
  return {};
}

ConnectionsWindow::ConnectionsWindow(platform::DecoderLink& link, QSettings* settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowSystemMenuHint),
      link_(link),
      settings_(settings),
      ports_(MachinePorts) {
  setObjectName(QStringLiteral("FormConexiones"));
  setModal(true);
  setFont(SmallFont());
  setFixedSize(kWidth, kSensorHeight + 32);
  BuildControls();
  connect(&link_, &platform::DecoderLink::StatusChanged, this, [this] { ShowStatus(); });
  // Each lane tried before a race lights its car.
  connect(&link_, &platform::DecoderLink::Crossed, this, [this](int car, qint64, bool) {
    if (!race::IsCar(car)) return;
    seen_[static_cast<std::size_t>(car)] = true;
    lastSeen_ = car;
    ShowStatus();
  });
  SetTexts();
}

void ConnectionsWindow::BuildControls() {
  sensorGroup_ = new QGroupBox(this);
  sensorGroup_->setObjectName(QStringLiteral("SensorGroup"));
  sensorGroup_->setGeometry(8, 4, kWidth - 16, 132);
  kinds_ = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    auto* item = new QRadioButton(sensorGroup_);
    item->setObjectName(QStringLiteral("SensorKind%1").arg(i));
    item->setGeometry(10, 18 + 26 * i, 100, 20);
    kinds_->addButton(item, i);
    kindItems_[static_cast<std::size_t>(i)] = item;
  }
  portBox_ = new QComboBox(sensorGroup_);
  portBox_->setObjectName(QStringLiteral("SerialPort"));
  portBox_->setEditable(true);
  portBox_->setGeometry(112, 44, 150, 20);
  baudBox_ = new QComboBox(sensorGroup_);
  baudBox_->setObjectName(QStringLiteral("SerialSpeed"));
  baudBox_->setGeometry(266, 44, 70, 20);
  for (int baud : {9600, 19200, 38400, 57600, 115200, 230400}) baudBox_->addItem(QString::number(baud), baud);
  hostEdit_ = new QLineEdit(sensorGroup_);
  hostEdit_->setObjectName(QStringLiteral("GateHost"));
  hostEdit_->setGeometry(112, 70, 150, 20);
  tcpPortBox_ = new QSpinBox(sensorGroup_);
  tcpPortBox_->setObjectName(QStringLiteral("GatePort"));
  tcpPortBox_->setRange(1, 65535);
  tcpPortBox_->setValue(4000);
  tcpPortBox_->setGeometry(266, 70, 70, 20);
  connectButton_ = new QPushButton(sensorGroup_);
  connectButton_->setObjectName(QStringLiteral("ConnectButton"));
  connectButton_->setGeometry(10, 100, 90, 22);
  connect(connectButton_, &QPushButton::clicked, this, [this] { Apply(); });
  stateLabel_ = MakeCaption(sensorGroup_, "LinkState", 112, 104, PixelFont("Arial", 12, true));

  detailsLabel_ = MakeCaption(this, "LinkDetails", 12, 142, SmallFont());
  seenLabel_ = MakeCaption(this, "CarSeen", 12, 160, PixelFont("Arial", 12, true));
  for (int car = 1; car <= race::kCars; ++car) {
    QLabel* cell = MakeCell(this, QStringLiteral("SeenCar%1").arg(car), QRect(12 + 28 * (car - 1), 180, 24, 20),
                            CellFont(), Qt::AlignCenter, Qt::white);
    cell->setText(QString::number(car));
    cell->setFrameStyle(QFrame::Box | QFrame::Plain);
    carCells_[static_cast<std::size_t>(car)] = cell;
  }
  closeButton_ = new QPushButton(this);
  closeButton_->setObjectName(QStringLiteral("CloseButton"));
  closeButton_->setGeometry(kWidth - 88, kSensorHeight, 80, 22);
  connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);
}

void ConnectionsWindow::AddPanel(QWidget* panel, std::function<void(bool)> setLanguage, bool besideTheOthers) {
  if (panelsBottom_ == 0) panelsBottom_ = kSensorHeight - 28;
  const int left = width();
  panel->setParent(this);
  panel->resize(std::max(panel->sizeHint().width(), kWidth - 16), panel->sizeHint().height());
  if (besideTheOthers) {
    panel->move(left, besideBottom_ == 0 ? 4 : besideBottom_);
    besideBottom_ = panel->y() + panel->height() + 8;
  } else {
    panel->move(8, panelsBottom_);
    panelsBottom_ += panel->height() + 8;
  }
  panel->show();
  panelLanguages_.push_back(std::move(setLanguage));
  const int bottom = std::max(panelsBottom_, besideBottom_);
  const int right = std::max(width(), panel->x() + panel->width() + 8);
  closeButton_->move(right - 88, bottom);
  setFixedSize(right, bottom + 30);
}

void ConnectionsWindow::SetTexts() {
  const bool es = spanish_;
  setWindowTitle(Tr(kTitle, es));
  sensorGroup_->setTitle(Tr(kTrackSensor, es));
  kindItems_[0]->setText(Tr(kNone, es));
  kindItems_[1]->setText(Tr(kSerialPort, es));
  kindItems_[2]->setText(Tr(kNetwork, es));
  hostEdit_->setPlaceholderText(Tr(kHostHint, es));
  connectButton_->setText(Tr(kConnect, es));
  closeButton_->setText(Tr(kClose, es));
  for (const auto& setLanguage : panelLanguages_) setLanguage(es);
  ShowStatus();
}

void ConnectionsWindow::Prepare(bool spanish) {
  spanish_ = spanish;
  seen_ = {};
  lastSeen_ = 0;
  const QString current = portBox_->currentText();
  portBox_->clear();
  portBox_->addItems(ports_());
  ShowChoice(link_.choice());
  if (link_.choice().kind != platform::LinkChoice::Kind::kSerial && !current.isEmpty()) {
    portBox_->setCurrentText(current);
  }
  SetTexts();
}

int ConnectionsWindow::ShowModal(bool spanish) {
  Prepare(spanish);
  return exec();
}

void ConnectionsWindow::ShowChoice(const platform::LinkChoice& choice) {
  kindItems_[static_cast<std::size_t>(choice.kind)]->setChecked(true);
  if (choice.kind == platform::LinkChoice::Kind::kSerial) {
    portBox_->setCurrentText(QString::fromStdString(choice.device));
    const int baud = baudBox_->findData(choice.baud);
    if (baud < 0) baudBox_->addItem(QString::number(choice.baud), choice.baud);
    baudBox_->setCurrentIndex(baudBox_->findData(choice.baud));
  } else {
    baudBox_->setCurrentIndex(baudBox_->findData(platform::kDefaultBaud));
  }
  if (choice.kind == platform::LinkChoice::Kind::kTcp) {
    hostEdit_->setText(QString::fromStdString(choice.host));
    tcpPortBox_->setValue(choice.port);
  }
}

platform::LinkChoice ConnectionsWindow::ChosenLink() const {
  platform::LinkChoice choice;
  choice.kind = static_cast<platform::LinkChoice::Kind>(std::max(0, kinds_->checkedId()));
  if (choice.kind == platform::LinkChoice::Kind::kSerial) {
    choice.device = portBox_->currentText().trimmed().toStdString();
    choice.baud = baudBox_->currentData().toInt();
    if (choice.device.empty()) choice.kind = platform::LinkChoice::Kind::kNone;
  } else if (choice.kind == platform::LinkChoice::Kind::kTcp) {
    choice.host = hostEdit_->text().trimmed().toStdString();
    choice.port = tcpPortBox_->value();
    if (choice.host.empty()) choice.kind = platform::LinkChoice::Kind::kNone;
  }
  return choice;
}

void ConnectionsWindow::Apply() {
  const platform::LinkChoice choice = ChosenLink();
  ShowChoice(choice);
  seen_ = {};
  lastSeen_ = 0;
  link_.Open(choice);
  if (settings_ != nullptr) SaveLinkChoice(*settings_, choice);
  ShowStatus();
}

void ConnectionsWindow::ShowStatus() {
  const bool es = spanish_;
  const platform::DecoderLink::Status& s = link_.status();
  stateLabel_->setText(LinkStateText(s.state, es));
  const bool bad = s.state == platform::DecoderLink::State::kLost || s.state == platform::DecoderLink::State::kFault;
  SetColour(stateLabel_, QPalette::WindowText, bad ? QColor(Qt::red) : QColor(Qt::black));
  stateLabel_->adjustSize();
  QString details = Tr(kLines, es) + QString::number(s.lines) +
                    Tr(kBadLines, es) + QString::number(s.badLines);
  if (s.dropped > 0) details += Tr(kDropped, es) + QString::number(s.dropped);
  if (!s.hello.empty()) details += QStringLiteral("   ") + QString::fromStdString(s.hello);
  if (!s.error.empty() && s.state != platform::DecoderLink::State::kUp) {
    details += QStringLiteral("   (") + QString::fromStdString(s.error) + QStringLiteral(")");
  }
  detailsLabel_->setText(details);
  detailsLabel_->adjustSize();
  for (int car = 1; car <= race::kCars; ++car) {
    SetColour(carCells_[static_cast<std::size_t>(car)], QPalette::Window,
              seen_[static_cast<std::size_t>(car)] ? kSeen : QColor(Qt::white));
  }
  seenLabel_->setText(lastSeen_ != 0
                          ? Tr(kCar, es) + QString::number(lastSeen_) + Tr(kSeenWord, es)
                          : QString());
  seenLabel_->adjustSize();
}

}  // namespace ui
