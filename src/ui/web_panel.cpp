#include "ui/web_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QNetworkInterface>
#include <QPixmap>
#include <QSettings>
#include <QSpinBox>

#include "web/qr_image.h"
#include "web/web_server.h"
#include "ui/widgets.h"

namespace ui {

using web::IsAnyAddress;
using web::PageUrl;
using web::WebAddress;
using web::kDefaultWebPort;

namespace {

constexpr int kQrScale = 4;

const QString kOnKey = QStringLiteral("web/on");
const QString kPortKey = QStringLiteral("web/port");
// The address alone; empty (or missing) for every interface.
const QString kAddressKey = QStringLiteral("web/address");

constexpr Words kSwitch{"Resultados en directo en la red (móviles)", "Live results on the network (phones)"};
constexpr Words kAddress{"Dirección:", "Address:"};
constexpr Words kPort{"Puerto:", "Port:"};
constexpr Words kEveryNetwork{"Todas las redes", "Every network"};
constexpr Words kThisComputer{"Sólo este ordenador", "This computer only"};
constexpr Words kNotForPhones{"Sólo este ordenador la puede abrir: los móviles no llegan a esta dirección.",
                              "Only this computer can open it: phones cannot reach this address."};

bool SameAddress(const QHostAddress& a, const QHostAddress& b) {
  return (IsAnyAddress(a) && IsAnyAddress(b)) || a == b;
}

}  // namespace

WebSetting LoadWebSetting(const QSettings& settings) {
  WebSetting setting;
  setting.on = settings.value(kOnKey).toBool();
  const uint port = settings.value(kPortKey, kDefaultWebPort).toUInt();
  if (port >= 1 && port <= 65535) setting.where.port = static_cast<quint16>(port);
  QHostAddress address;
  if (address.setAddress(settings.value(kAddressKey).toString()) && !IsAnyAddress(address)) {
    setting.where.address = address;
  }
  return setting;
}

void SaveWebSetting(QSettings& settings, const WebSetting& setting) {
  settings.setValue(kOnKey, setting.on);
  settings.setValue(kPortKey, setting.where.port);
  settings.setValue(kAddressKey, IsAnyAddress(setting.where.address) ? QString() : setting.where.address.toString());
  settings.sync();
}

WebPanel::WebPanel(web::WebServer& server, QWidget* parent) : QWidget(parent), server_(server) {
  setObjectName(QStringLiteral("WebPanel"));
  on_ = new QCheckBox(this);
  on_->setObjectName(QStringLiteral("WebOn"));
  hostCaption_ = new QLabel(this);
  host_ = new QComboBox(this);
  host_->setObjectName(QStringLiteral("WebHost"));
  portCaption_ = new QLabel(this);
  port_ = new QSpinBox(this);
  port_->setObjectName(QStringLiteral("WebPort"));
  port_->setRange(1, 65535);
  port_->setValue(kDefaultWebPort);
  url_ = new QLabel(this);
  url_->setObjectName(QStringLiteral("WebUrl"));
  url_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  qr_ = new QLabel(this);
  qr_->setObjectName(QStringLiteral("WebQr"));
  qr_->setAlignment(Qt::AlignCenter);
  qr_->setWordWrap(true);
  // Room for the code of any address the page can have, so the window that
  // holds the panel keeps its size.
  qr_->setMinimumSize(176, 176);
  state_ = new QLabel(this);
  state_->setObjectName(QStringLiteral("WebState"));
  state_->setWordWrap(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(on_, 0, 0, 1, 2);
  grid->addWidget(hostCaption_, 1, 0);
  grid->addWidget(host_, 1, 1);
  grid->addWidget(portCaption_, 2, 0);
  grid->addWidget(port_, 2, 1);
  grid->addWidget(url_, 3, 0, 1, 2);
  grid->addWidget(qr_, 4, 0, 1, 2);
  grid->addWidget(state_, 5, 0, 1, 2);

  connect(on_, &QCheckBox::toggled, this, [this] {
    if (applying_) return;
    Apply();
    emit SettingsChanged(settings());
  });
  connect(host_, &QComboBox::activated, this, &WebPanel::OperatorChanged);
  // The port is taken when the operator is done with it, not at each digit.
  connect(port_, &QSpinBox::editingFinished, this, &WebPanel::OperatorChanged);
  connect(&server_, &web::WebServer::StateChanged, this, &WebPanel::ShowState);
  SetSpanish(true);
}

void WebPanel::SetSpanish(bool spanish) {
  spanish_ = spanish;
  on_->setText(Tr(kSwitch, spanish_));
  hostCaption_->setText(Tr(kAddress, spanish_));
  portCaption_->setText(Tr(kPort, spanish_));
  FillAddresses();
  ShowState();
}

void WebPanel::FillAddresses() {
  const QHostAddress chosen = settings().where.address;
  const bool was = applying_;
  applying_ = true;
  host_->clear();
  const QString any = Tr(kEveryNetwork, spanish_);
  const QString local = Tr(kThisComputer, spanish_);
  host_->addItem(any + QStringLiteral(" (0.0.0.0)"), QString());
  host_->addItem(local + QStringLiteral(" (127.0.0.1)"), QStringLiteral("127.0.0.1"));
  for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
    if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback()) {
      host_->addItem(address.toString(), address.toString());
    }
  }
  applying_ = was;
  ShowAddress(chosen);
}

void WebPanel::ShowAddress(const QHostAddress& address) {
  const QString text = IsAnyAddress(address) ? QString() : address.toString();
  int index = host_->findData(text);
  // An address given on the command line that this list does not hold.
  if (index < 0) {
    host_->addItem(address.toString(), text);
    index = host_->count() - 1;
  }
  const bool was = applying_;
  applying_ = true;
  host_->setCurrentIndex(index);
  applying_ = was;
}

void WebPanel::SetSettings(const WebSetting& setting) {
  applying_ = true;
  ShowAddress(setting.where.address);
  port_->setValue(setting.where.port);
  on_->setChecked(setting.on);
  applying_ = false;
  Apply();
}

WebSetting WebPanel::settings() const {
  WebSetting setting;
  setting.on = on_->isChecked();
  setting.where.port = static_cast<quint16>(port_->value());
  QHostAddress address;
  if (host_->currentIndex() >= 0 && address.setAddress(host_->currentData().toString())) {
    setting.where.address = address;
  }
  return setting;
}

void WebPanel::OperatorChanged() {
  if (applying_) return;
  const WebSetting wanted = settings();
  const WebAddress& now = server_.address();
  if (server_.listening() && now.port == wanted.where.port && SameAddress(now.address, wanted.where.address)) return;
  if (wanted.on) Apply();
  emit SettingsChanged(wanted);
}

void WebPanel::Apply() {
  const WebSetting wanted = settings();
  if (wanted.on) {
    server_.Start(wanted.where);
  } else {
    server_.Stop();
  }
  ShowState();
}

void WebPanel::ShowState() {
  state_->setText(server_.StateText(spanish_));
  const WebAddress& now = server_.address();
  // A server started otherwise (from the command line) shows as it is, and
  // the box switches it off and on again where it was.
  const WebSetting shown = settings();
  if (server_.listening() && (!shown.on || shown.where.port != now.port || !SameAddress(shown.where.address, now.address))) {
    applying_ = true;
    on_->setChecked(true);
    port_->setValue(now.port);
    ShowAddress(now.address);
    applying_ = false;
  }
  url_->clear();
  qr_->clear();
  if (!server_.listening()) return;
  const QString url = PageUrl(now);
  url_->setText(url);
  if (now.address.isLoopback()) {
    // No phone reaches it: a code would only send them nowhere.
    qr_->setText(Tr(kNotForPhones, spanish_));
  } else {
    qr_->setPixmap(QPixmap::fromImage(web::QrImage(url, kQrScale)));
  }
}

}  // namespace ui
