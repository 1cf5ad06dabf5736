#pragma once
// The results page's settings, for the connections window: a box that
// switches the page on and off, its port, the address to open as text and
// as a QR code, and what the server says. Every text in Spanish and English.
// The panel starts and stops the server; keeping the setting is the
// caller's (SettingsChanged tells it when the operator changed it).

#include <QWidget>

#include "web/web_address.h"

class QCheckBox;
class QLabel;
class QSpinBox;

namespace web {

class WebServer;

class WebPanel final : public QWidget {
  Q_OBJECT
 public:
  explicit WebPanel(WebServer& server, QWidget* parent = nullptr);

  void SetSpanish(bool spanish);
  // The setting as kept: switches the server on (at the port, on every
  // interface) or off. Emits no SettingsChanged.
  void SetSettings(bool on, quint16 port);
  bool on() const;
  quint16 port() const;

 signals:
  // The operator switched the page or changed its port.
  void SettingsChanged(bool on, quint16 port);

 private:
  void Apply();
  void ShowState();

  WebServer& server_;
  bool spanish_ = true;
  bool applying_ = false;
  QCheckBox* on_ = nullptr;
  QLabel* portCaption_ = nullptr;
  QSpinBox* port_ = nullptr;
  QLabel* url_ = nullptr;
  QLabel* qr_ = nullptr;
  QLabel* state_ = nullptr;
};

}  // namespace web
