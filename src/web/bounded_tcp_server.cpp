#include "web/bounded_tcp_server.h"

#include <QTcpSocket>

namespace web {

namespace {

// A kernel send buffer of fixed size: a viewer that stops reading shows up
// in the socket's own unsent bytes soon, instead of in megabytes of kernel memory.
constexpr int kSendBufferBytes = 64 * 1024;
// A refused client gets this long to take its answer before the connection is cut.
constexpr int kLingerMs = 2000;

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
    case 431:
      return "Request Header Fields Too Large";
    case 503:
      return "Service Unavailable";
    default:
      return "Error";
  }
}

void CloseSoon(QTcpSocket* socket) {
  socket->disconnectFromHost();
  // A client that does not even take its answer is cut off.
  QTimer::singleShot(kLingerMs, socket, [socket] { socket->abort(); });
}

}  // namespace

QByteArray StatusResponse(int status) {
  const QByteArray body = QByteArray::number(status) + ' ' + Reason(status) + '\n';
  return "HTTP/1.1 " + QByteArray::number(status) + ' ' + Reason(status) +
         "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " + QByteArray::number(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

ConnectionGuard::ConnectionGuard(QTcpSocket* socket, const Limits& limits, QObject* httpServer)
    : QObject(socket), socket_(socket), httpServer_(httpServer), limits_(limits) {
  setObjectName(QStringLiteral("ConnectionGuard"));
  // Connected before Qt's server connects its own: every chunk is counted
  // before it is parsed.
  connect(socket_, &QTcpSocket::readyRead, this, &ConnectionGuard::BytesArrived);
  deadline_.setSingleShot(true);
  deadline_.setInterval(limits_.requestTimeoutMs);
  connect(&deadline_, &QTimer::timeout, this, &ConnectionGuard::TimedOut);
  deadline_.start();
}

ConnectionGuard::~ConnectionGuard() { emit Closed(); }

ConnectionGuard* ConnectionGuard::Of(QTcpSocket* socket) {
  return socket == nullptr
             ? nullptr
             : socket->findChild<ConnectionGuard*>(QStringLiteral("ConnectionGuard"), Qt::FindDirectChildrenOnly);
}

void ConnectionGuard::RequestHandled() {
  requestBytes_ = 0;
  tail_.clear();
  headersEnded_ = false;
  deadline_.start();
}

void ConnectionGuard::Upgraded() {
  upgraded_ = true;
  deadline_.stop();
}

void ConnectionGuard::BytesArrived() {
  if (upgraded_ || refused_) return;
  // What Qt has not parsed yet is what came since the last look.
  const qint64 fresh = socket_->bytesAvailable();
  requestBytes_ += fresh;
  if (!headersEnded_) {
    const QByteArray seen = tail_ + socket_->peek(std::min<qint64>(fresh, limits_.maxRequestBytes + 4));
    headersEnded_ = seen.contains("\r\n\r\n") || seen.contains("\n\n");
    tail_ = seen.right(3);
  }
  if (requestBytes_ > limits_.maxRequestBytes) Refuse(headersEnded_ ? 413 : 431);
}

void ConnectionGuard::TimedOut() {
  if (upgraded_ || refused_) return;
  if (requestBytes_ > 0) {
    Refuse(408);
  } else {
    socket_->abort();
  }
}

void ConnectionGuard::Refuse(int status) {
  if (refused_) return;
  refused_ = true;
  deadline_.stop();
  // Qt's server parses no more of this connection.
  if (httpServer_ != nullptr) disconnect(socket_, &QTcpSocket::readyRead, httpServer_, nullptr);
  socket_->write(StatusResponse(status));
  CloseSoon(socket_);
}

BoundedTcpServer::BoundedTcpServer(const Limits& limits, QObject* parent) : QTcpServer(parent), limits_(limits) {}

void BoundedTcpServer::incomingConnection(qintptr descriptor) {
  auto* socket = new QTcpSocket(this);
  if (!socket->setSocketDescriptor(descriptor)) {
    delete socket;
    return;
  }
  if (open_ >= limits_.maxConnections) {
    socket->write(StatusResponse(503));
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    CloseSoon(socket);
    return;
  }
  socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
  socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  // Qt's server keeps a request's bytes until it is whole; no more than
  // the cap (and a little to see it was passed) is ever read in.
  socket->setReadBufferSize(limits_.maxRequestBytes + 1024);
  ++open_;
  auto* guard = new ConnectionGuard(socket, limits_, httpServer_);
  connect(guard, &ConnectionGuard::Closed, this, [this] { --open_; });
  addPendingConnection(socket);
}

}  // namespace web
