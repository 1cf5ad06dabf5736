#include "web/web_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>

#include "web/qr_image.h"
#include "web/web_server.h"

namespace web {

namespace {

constexpr int kQrScale = 4;

}  // namespace

WebPanel::WebPanel(WebServer& server, QWidget* parent) : QWidget(parent), server_(server) {
  setObjectName(QStringLiteral("WebPanel"));
  on_ = new QCheckBox(this);
  on_->setObjectName(QStringLiteral("WebOn"));
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
  // Room for the code of any address the page can have, so the window that
  // holds the panel keeps its size.
  qr_->setMinimumSize(176, 176);
  state_ = new QLabel(this);
  state_->setObjectName(QStringLiteral("WebState"));
  state_->setWordWrap(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(on_, 0, 0, 1, 2);
  grid->addWidget(portCaption_, 1, 0);
  grid->addWidget(port_, 1, 1);
  grid->addWidget(url_, 2, 0, 1, 2);
  grid->addWidget(qr_, 3, 0, 1, 2);
  grid->addWidget(state_, 4, 0, 1, 2);

  connect(on_, &QCheckBox::toggled, this, [this] {
    if (applying_) return;
    Apply();
    emit SettingsChanged(on(), port());
  });
  // The port is taken when the operator is done with it, not at each digit.
  connect(port_, &QSpinBox::editingFinished, this, [this] {
    if (applying_ || (server_.listening() && server_.address().port == port())) return;
    if (on()) Apply();
    emit SettingsChanged(on(), port());
  });
  connect(&server_, &WebServer::StateChanged, this, &WebPanel::ShowState);
  SetSpanish(true);
}

void WebPanel::SetSpanish(bool spanish) {
  spanish_ = spanish;
  on_->setText(spanish_ ? QStringLiteral("Resultados en directo en la red (móviles)")
                        : QStringLiteral("Live results on the network (phones)"));
  portCaption_->setText(spanish_ ? QStringLiteral("Puerto:") : QStringLiteral("Port:"));
  ShowState();
}

void WebPanel::SetSettings(bool on, quint16 port) {
  applying_ = true;
  port_->setValue(port);
  on_->setChecked(on);
  applying_ = false;
  Apply();
}

bool WebPanel::on() const { return on_->isChecked(); }

quint16 WebPanel::port() const { return static_cast<quint16>(port_->value()); }

void WebPanel::Apply() {
  if (on()) {
    WebAddress where;
    where.port = port();
    server_.Start(where);
  } else {
    server_.Stop();
  }
  ShowState();
}

void WebPanel::ShowState() {
  state_->setText(server_.StateText(spanish_));
  // A server started otherwise (from the command line) shows as it is.
  if (server_.listening() && (!on() || port() != server_.address().port)) {
    applying_ = true;
    on_->setChecked(true);
    port_->setValue(server_.address().port);
    applying_ = false;
  }
  if (server_.listening()) {
    const QString url = PageUrl(server_.address());
    url_->setText(url);
    qr_->setPixmap(QPixmap::fromImage(QrImage(url, kQrScale)));
  } else {
    url_->clear();
    qr_->clear();
  }
}

}  // namespace web
