#pragma once
// The page viewers' WebSocket connections: each gets the current race when
// it connects and every change after that. A viewer that falls behind (its
// pushes pile up unsent) or stops answering pings is dropped, never
// buffered for without end. Viewers only listen: what they send is ignored.

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <memory>

#include "web/limits.h"

class QWebSocket;

namespace web {

class LiveChannel final : public QObject {
  Q_OBJECT
 public:
  explicit LiveChannel(const Limits& limits, QObject* parent = nullptr);
  ~LiveChannel() override;

  void Add(std::unique_ptr<QWebSocket> viewer);
  // Sends the race to every viewer, and to each new one from now on.
  void Push(const QByteArray& json);
  int viewers() const noexcept { return static_cast<int>(viewers_.size()); }

 signals:
  void ViewersChanged(int viewers);

 private:
  void Send(QWebSocket* viewer);
  void Drop(QWebSocket* viewer);
  void PingAll();

  const Limits limits_;
  QString current_;
  QHash<QWebSocket*, bool> viewers_;  // whether it answered the last ping
  QTimer ping_;
};

}  // namespace web
