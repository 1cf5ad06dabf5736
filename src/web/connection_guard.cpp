#include "web/connection_guard.h"

#include <sys/socket.h>

#include <QTcpSocket>
#include <algorithm>
#include <QWebSocketServer>
#include <utility>

#include "web/bounded_tcp_server.h"

namespace web {

namespace {

// A closing client gets this long to take its answer and close its side.
constexpr int kLingerMs = 2000;
// A viewer's push buffer in the kernel: one that stops reading shows up in
// its own unsent bytes soon, not in megabytes of kernel memory. Answers to
// requests get more room, so a client that half-closes gets them whole.
constexpr int kViewerSendBufferBytes = 64 * 1024;
// The most kernel buffer an answer is given when it does not fit at once.
constexpr qint64 kMaxAnswerSendBufferBytes = 4 * 1024 * 1024;

void EndOurSide(QTcpSocket* socket) {
  if (socket->state() == QAbstractSocket::ConnectedState) ::shutdown(socket->socketDescriptor(), SHUT_WR);
}

}  // namespace

void CloseGracefully(QTcpSocket* socket) {
  // What arrives from now on is nobody's: read and dropped, so the kernel
  // holds nothing unread that would turn the close into a reset.
  QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
  socket->readAll();
  socket->flush();
  if (socket->bytesToWrite() == 0) {
    EndOurSide(socket);
  } else {
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
      if (socket->bytesToWrite() == 0) EndOurSide(socket);
    });
  }
  QTimer::singleShot(kLingerMs, socket, [socket] { socket->abort(); });
  // Also a connection no server was ever given goes once it is closed.
  QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater, Qt::UniqueConnection);
}

ConnectionGuard::ConnectionGuard(QTcpSocket* socket, const Limits& limits, QObject* httpServer,
                                 QWebSocketServer* viewers, std::function<void()> toHttpServer)
    : QObject(socket),
      socket_(socket),
      httpServer_(httpServer),
      toHttpServer_(std::move(toHttpServer)),
      viewers_(viewers),
      limits_(limits) {
  setObjectName(QStringLiteral("ConnectionGuard"));
  // Connected before Qt's server connects its own: every byte is seen first.
  connect(socket_, &QTcpSocket::readyRead, this, &ConnectionGuard::BytesArrived);
  connect(socket_, &QTcpSocket::bytesWritten, this, [this] {
    if (!heads_.empty() && socket_->bytesToWrite() <= limits_.maxUnsentBytes) NextRequestSoon();
  });
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

bool ConnectionGuard::ClosesAfterAnswer() const noexcept { return !heads_.empty() && heads_.front().close; }

void ConnectionGuard::BytesArrived() {
  if (phase_ == Phase::Closing) {
    socket_->readAll();
    return;
  }
  const qint64 available = socket_->bytesAvailable();
  const qint64 fresh = available - unread_;
  if (fresh > 0) {
    sentBytes_ = true;
    const QByteArray bytes = socket_->peek(available).right(fresh);
    if (phase_ == Phase::Viewer) {
      unread_ = available;
      WalkFrames(bytes);
      return;
    }
    if (phase_ == Phase::Http) stream_ += bytes;
  }
  if (phase_ != Phase::Http) return;
  // Every whole head that has come, read in order; nothing after a head
  // that is not answered by Qt's server is ever read.
  while (heads_.empty() || heads_.back().kind == RequestHead::Kind::Answer) {
    const RequestHead head = ReadRequestHead(stream_, limits_.maxRequestBytes);
    if (head.kind == RequestHead::Kind::Incomplete) break;
    heads_.push_back(head);
    stream_.remove(0, head.length);
  }
  TakeFront();
}

void ConnectionGuard::TakeFront() {
  if (heads_.empty()) {
    // Qt's server reads what there is of the next head: none of it is unread then.
    unread_ = 0;
    return;
  }
  switch (heads_.front().kind) {
    case RequestHead::Kind::Refuse:
      Refuse(heads_.front().status);
      break;
    case RequestHead::Kind::Upgrade:
      HandOverToViewers();
      break;
    default:
      // Qt's server reads this head, and only it, right after this.
      unread_ = 0;
      if (toHttpServer_) {
        // Qt's server keeps a record of every connection it is given, freed
        // only by signals the push channel's server cuts: so it is given
        // only connections that are to stay with it. Its reader comes after
        // ours, and the bytes are here already.
        const auto handOver = std::exchange(toHttpServer_, nullptr);
        handOver();
        // Walked already: the signal that brings Qt's server to it finds nothing new for us.
        unread_ = socket_->bytesAvailable();
        NextRequestSoon();
      }
      break;
  }
}

void ConnectionGuard::Answered() {
  if (phase_ != Phase::Http || heads_.empty()) return;
  const bool close = heads_.front().close;
  heads_.pop_front();
  // Out at once: a client that has ended its side still gets it before we see that end.
  socket_->flush();
  if (socket_->bytesToWrite() > 0) {
    // The kernel's buffer is full (a slow reader, a large answer): it is
    // made room for the rest, up to kMaxAnswerSendBufferBytes, so that the
    // end of a half-closed client, seen next, finds nothing left unsent.
    const qint64 size = socket_->socketOption(QAbstractSocket::SendBufferSizeSocketOption).toLongLong();
    const qint64 wanted = std::min<qint64>(size + socket_->bytesToWrite(), kMaxAnswerSendBufferBytes);
    if (wanted > size) socket_->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, static_cast<int>(wanted));
    socket_->flush();
  }
  if (close) {
    Close();
    return;
  }
  // Qt's server has taken its request; the rest waits unread.
  unread_ = socket_->bytesAvailable();
  deadline_.start();
  // A pipelined request is looked at once this answer has mostly gone out.
  if (!heads_.empty() && socket_->bytesToWrite() <= limits_.maxUnsentBytes) NextRequestSoon();
}

void ConnectionGuard::NextRequestSoon() {
  if (nextPosted_ || phase_ != Phase::Http) return;
  nextPosted_ = true;
  // Qt's server reads one request per signal; this one brings it to the next.
  QMetaObject::invokeMethod(
      this,
      [this] {
        nextPosted_ = false;
        if (phase_ == Phase::Http && !heads_.empty()) emit socket_->readyRead();
      },
      Qt::QueuedConnection);
}

void ConnectionGuard::HandOverToViewers() {
  heads_.clear();
  if (viewers_ == nullptr) {
    Refuse(404);
    return;
  }
  phase_ = Phase::Handshake;
  deadline_.stop();
  if (httpServer_ != nullptr) disconnect(socket_, &QTcpSocket::readyRead, httpServer_, nullptr);
  // Whatever of this head Qt's server had read goes back, for the WebSocket server to read.
  if (socket_->isTransactionStarted()) socket_->rollbackTransaction();
  viewers_->handleConnection(socket_);
  QMetaObject::invokeMethod(
      socket_, [socket = socket_] { emit socket->readyRead(); }, Qt::QueuedConnection);
}

bool ConnectionGuard::IsPeer(const QHostAddress& address, quint16 port) const {
  return socket_->peerPort() == port && socket_->peerAddress() == address;
}

void ConnectionGuard::ViewerStarted() {
  if (phase_ != Phase::Handshake) return;
  phase_ = Phase::Viewer;
  // Nothing the viewer sent is walked yet: what waits now is the first frame on.
  unread_ = 0;
  socket_->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kViewerSendBufferBytes);
  // After the WebSocket has taken what came, what is left waits unread.
  connect(
      socket_, &QTcpSocket::readyRead, this,
      [this] {
        if (phase_ == Phase::Viewer) unread_ = socket_->bytesAvailable();
      },
      Qt::QueuedConnection);
}

void ConnectionGuard::WalkFrames(QByteArrayView bytes) {
  while (!bytes.isEmpty()) {
    if (payloadLeft_ > 0) {
      const qint64 skip = std::min<qint64>(payloadLeft_, bytes.size());
      payloadLeft_ -= skip;
      bytes = bytes.sliced(skip);
      continue;
    }
    frameHead_.append(bytes.front());
    bytes = bytes.sliced(1);
    if (frameHead_.size() < 2) continue;
    const auto second = static_cast<unsigned char>(frameHead_[1]);
    // A client's frames are masked; one that is not closes the connection
    // before the WebSocket reads it (protocol error, 1002).
    if ((second & 0x80) == 0) {
      socket_->readAll();
      socket_->write(QByteArray::fromHex("880203ea"));
      Close();
      return;
    }
    const int lengthBytes = (second & 0x7f) == 126 ? 2 : (second & 0x7f) == 127 ? 8 : 0;
    if (frameHead_.size() < 2 + lengthBytes + 4) continue;
    qint64 length = second & 0x7f;
    if (lengthBytes > 0) {
      length = 0;
      for (int i = 0; i < lengthBytes; ++i) length = (length << 8) | static_cast<unsigned char>(frameHead_[2 + i]);
    }
    payloadLeft_ = length;
    frameHead_.clear();
  }
}

void ConnectionGuard::TimedOut() {
  if (phase_ != Phase::Http) return;
  if (sentBytes_) {
    Refuse(408);
  } else {
    socket_->abort();
  }
}

void ConnectionGuard::Refuse(int status) {
  if (phase_ == Phase::Closing) return;
  socket_->write(StatusResponse(status));
  Close();
}

void ConnectionGuard::Close() {
  phase_ = Phase::Closing;
  heads_.clear();
  deadline_.stop();
  // Qt's server parses no more of this connection, and keeps nothing back for it.
  if (httpServer_ != nullptr) disconnect(socket_, &QTcpSocket::readyRead, httpServer_, nullptr);
  if (socket_->isTransactionStarted()) socket_->commitTransaction();
  CloseGracefully(socket_);
}

}  // namespace web
