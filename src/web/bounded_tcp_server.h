#pragma once
// The listening socket of the results page, which bounds what Qt's HTTP
// server is handed: a cap on open connections (503 beyond it), a cap on the
// bytes of one request (431, or 413 for a body), a time limit per request
// (slow and idle clients are closed) and a kernel send buffer of fixed size.
// Qt's server parses the requests; this only counts, times and closes.

#include <QPointer>
#include <QTcpServer>
#include <QTimer>

#include "web/limits.h"

class QTcpSocket;

namespace web {

// Watches one accepted connection; a child of its socket.
class ConnectionGuard final : public QObject {
  Q_OBJECT
 public:
  ConnectionGuard(QTcpSocket* socket, const Limits& limits, QObject* httpServer);
  ~ConnectionGuard() override;

  // The guard of a socket the server accepted; nullptr for any other.
  static ConnectionGuard* Of(QTcpSocket* socket);

  // A whole request was taken: its bytes and its time start again.
  void RequestHandled();
  // The connection became a page viewer's: no request timing any more.
  void Upgraded();
  // Answers with a short plain-text status and closes the connection.
  void Refuse(int status);

 signals:
  void Closed();

 private:
  void BytesArrived();
  void TimedOut();

  QTcpSocket* socket_;
  QPointer<QObject> httpServer_;
  const Limits limits_;
  QTimer deadline_;
  qint64 requestBytes_ = 0;
  QByteArray tail_;  // the last bytes seen, to spot the end of the headers
  bool headersEnded_ = false;
  bool upgraded_ = false;
  bool refused_ = false;
};

class BoundedTcpServer final : public QTcpServer {
  Q_OBJECT
 public:
  explicit BoundedTcpServer(const Limits& limits, QObject* parent = nullptr);
  // The HTTP server whose parsing a refused connection is taken away from.
  void SetHttpServer(QObject* httpServer) noexcept { httpServer_ = httpServer; }
  int openConnections() const noexcept { return open_; }

 protected:
  void incomingConnection(qintptr descriptor) override;

 private:
  const Limits limits_;
  QObject* httpServer_ = nullptr;
  int open_ = 0;
};

// "HTTP/1.1 431 Request Header Fields Too Large" and its short body.
QByteArray StatusResponse(int status);

}  // namespace web
