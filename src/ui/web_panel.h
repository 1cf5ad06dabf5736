#pragma once
// The results page's settings, for the connections window: a box that
// switches the page on and off, the address it listens on and its port, the
// address to open as text and as a QR code, and what the server says. Every
// text in Spanish and English. The panel starts and stops the server;
// keeping the setting is the caller's (SettingsChanged tells it when the
// operator changed it; LoadWebSetting and SaveWebSetting read and write it).

#include <QWidget>

#include "web/web_address.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSettings;
class QSpinBox;

namespace web {
class WebServer;
}

namespace ui {

// The page's setting as kept between runs.
struct WebSetting {
  bool on = false;
  web::WebAddress where;
};
WebSetting LoadWebSetting(const QSettings& settings);
void SaveWebSetting(QSettings& settings, const WebSetting& setting);

class WebPanel final : public QWidget {
  Q_OBJECT
 public:
  explicit WebPanel(web::WebServer& server, QWidget* parent = nullptr);

  void SetSpanish(bool spanish);
  // The setting as kept: switches the server on (at that address and port)
  // or off. Emits no SettingsChanged.
  void SetSettings(const WebSetting& setting);
  WebSetting settings() const;

 signals:
  // The operator switched the page or changed its address or port.
  void SettingsChanged(const ui::WebSetting& setting);

 private:
  void Apply();
  void ShowState();
  void ShowAddress(const QHostAddress& address);
  void FillAddresses();
  void OperatorChanged();

  web::WebServer& server_;
  bool spanish_ = true;
  bool applying_ = false;
  QCheckBox* on_ = nullptr;
  QLabel* hostCaption_ = nullptr;
  QComboBox* host_ = nullptr;
  QLabel* portCaption_ = nullptr;
  QSpinBox* port_ = nullptr;
  QLabel* url_ = nullptr;
  QLabel* qr_ = nullptr;
  QLabel* state_ = nullptr;
};

}  // namespace ui
