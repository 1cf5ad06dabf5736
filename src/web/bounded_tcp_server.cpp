#include "web/bounded_tcp_server.h"

#include <QTcpSocket>
#include <QWebSocket>

#include "web/connection_guard.h"

namespace web {

namespace {

// Room in the kernel for an answer: pushed out at once, a client that has
// ended its side still gets all of it. (Viewers get less: ConnectionGuard.)
constexpr int kAnswerSendBufferBytes = 1024 * 1024;

const char* Reason(int status) {
  switch (status) {
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 408:
      return "Request Timeout";
    case 413:
      return "Payload Too Large";
    case 417:
      return "Expectation Failed";
    case 431:
      return "Request Header Fields Too Large";
    case 503:
      return "Service Unavailable";
    case 505:
      return "HTTP Version Not Supported";
    default:
      return "Error";
  }
}

}  // namespace

QByteArray StatusResponse(int status) {
  const QByteArray body = QByteArray::number(status) + ' ' + Reason(status) + '\n';
  QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + Reason(status) +
                    "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
                    QByteArray::number(body.size()) + "\r\nConnection: close\r\n";
  if (status == 405) head += "Allow: GET, HEAD\r\n";
  return head + "\r\n" + body;
}

BoundedTcpServer::BoundedTcpServer(const Limits& limits, QObject* parent)
    : QTcpServer(parent),
      limits_(limits),
      viewers_(QStringLiteral("TRELVIX"), QWebSocketServer::NonSecureMode) {
  viewers_.setHandshakeTimeout(limits_.requestTimeoutMs);
  connect(&viewers_, &QWebSocketServer::newConnection, this, &BoundedTcpServer::TakeViewers);
}

void BoundedTcpServer::incomingConnection(qintptr descriptor) {
  auto* socket = new QTcpSocket(this);
  if (!socket->setSocketDescriptor(descriptor)) {
    delete socket;
    return;
  }
  if (open_ >= limits_.maxConnections) {
    socket->write(StatusResponse(503));
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    CloseGracefully(socket);
    return;
  }
  socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kAnswerSendBufferBytes);
  socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  // A request head is kept whole until it is answered; no more than the cap
  // (and a little to see it was passed) is ever read in.
  socket->setReadBufferSize(limits_.maxRequestBytes + 1024);
  ++open_;
  // Whichever server it reaches, or none, the connection goes once closed.
  connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  auto* guard = new ConnectionGuard(socket, limits_, httpServer_, &viewers_, [this, socket] {
    addPendingConnection(socket);
  });
  connect(guard, &ConnectionGuard::Closed, this, [this] { --open_; });
  guards_.removeAll(nullptr);
  guards_.append(guard);
}

void BoundedTcpServer::TakeViewers() {
  while (viewers_.hasPendingConnections()) {
    QWebSocket* viewer = viewers_.nextPendingConnection();
    if (viewer == nullptr) break;
    // Its socket's guard checks every frame it sends from now on.
    for (ConnectionGuard* guard : std::as_const(guards_)) {
      if (guard != nullptr && guard->IsPeer(viewer->peerAddress(), viewer->peerPort())) guard->ViewerStarted();
    }
    emit NewViewer(viewer);
  }
}

}  // namespace web
