#pragma once
// The listening socket of the results page, which bounds what Qt's HTTP
// server is handed: a cap on open connections (503 beyond it) and, through
// a ConnectionGuard on each, a strict look at every request before Qt's
// server parses it, a cap on the bytes of a request head, a time limit per
// request, and the hand-over of viewers to the WebSocket server.

#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QWebSocketServer>

#include "web/limits.h"

class QTcpSocket;
class QWebSocket;

namespace web {

class ConnectionGuard;

class BoundedTcpServer final : public QTcpServer {
  Q_OBJECT
 public:
  explicit BoundedTcpServer(const Limits& limits, QObject* parent = nullptr);
  // The HTTP server whose parsing a refused connection is taken away from.
  void SetHttpServer(QObject* httpServer) noexcept { httpServer_ = httpServer; }
  int openConnections() const noexcept { return open_; }

 signals:
  // A page viewer whose WebSocket is up; the receiver owns it.
  void NewViewer(QWebSocket* viewer);

 protected:
  void incomingConnection(qintptr descriptor) override;

 private:
  void TakeViewers();

  const Limits limits_;
  QObject* httpServer_ = nullptr;
  QWebSocketServer viewers_;
  QList<QPointer<ConnectionGuard>> guards_;
  int open_ = 0;
};

// "HTTP/1.1 431 Request Header Fields Too Large" and its short body.
QByteArray StatusResponse(int status);

}  // namespace web
