#pragma once
// Watches one accepted connection of the results page, a child of its
// socket. It sees every byte before Qt's HTTP server does: each request head
// is read strictly first (RequestHead) and refused when it must be; only a
// request found sound, at the front of the connection, is left to Qt's server
// to answer, one at a time, so pipelined requests are answered in order and
// only as fast as the client takes the answers. A viewer asking for the push
// channel is handed to the WebSocket server, and every frame it sends after
// that is checked to be masked. Answers are pushed out at once (a client that
// half-closes after its request still gets them), "Connection: close" and
// HTTP/1.0 close after the answer, and every close is graceful: the answer
// first, then the end of our side, then what the client still sends is read
// and dropped for a while, so the answer is never lost to a reset.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

#include "web/limits.h"
#include "web/request_head.h"

class QHostAddress;
class QTcpSocket;
class QWebSocketServer;

namespace web {

class ConnectionGuard final : public QObject {
  Q_OBJECT
 public:
  // `toHttpServer` hands the connection to Qt's server; it is called once,
  // when the first request that server is to answer has come whole. A
  // connection that asks for the push channel first never reaches it.
  ConnectionGuard(QTcpSocket* socket, const Limits& limits, QObject* httpServer, QWebSocketServer* viewers,
                  std::function<void()> toHttpServer);
  ~ConnectionGuard() override;

  // The guard of a socket the server accepted; nullptr for any other.
  static ConnectionGuard* Of(QTcpSocket* socket);

  // The request Qt's server is answering asks for the connection to close after it.
  bool ClosesAfterAnswer() const noexcept;
  // Qt's server has written its answer to the request at the front.
  void Answered();
  bool IsPeer(const QHostAddress& address, quint16 port) const;
  // The WebSocket handshake is done: from now on every frame is checked.
  void ViewerStarted();
  // Answers with a short plain-text status and closes the connection.
  void Refuse(int status);

 signals:
  void Closed();

 private:
  enum class Phase { Http, Handshake, Viewer, Closing };

  void BytesArrived();
  void TakeFront();
  void NextRequestSoon();
  void HandOverToViewers();
  void WalkFrames(QByteArrayView bytes);
  void TimedOut();
  void Close();

  QTcpSocket* socket_;
  QPointer<QObject> httpServer_;
  std::function<void()> toHttpServer_;
  QPointer<QWebSocketServer> viewers_;
  const Limits limits_;
  Phase phase_ = Phase::Http;
  QTimer deadline_;
  qint64 unread_ = 0;              // bytes already seen that wait unread in the socket
  QByteArray stream_;              // seen bytes not yet part of a whole request head
  std::deque<RequestHead> heads_;  // whole heads not yet answered, the front first
  bool nextPosted_ = false;        // a look at the next pipelined request is on its way
  QByteArray frameHead_;           // a viewer's frame header read so far
  qint64 payloadLeft_ = 0;         // bytes of the viewer's current frame still to come
  bool sentBytes_ = false;         // the client sent something on this connection
};

// Writes what is left, ends our side of the connection, then reads and drops
// what the client still sends for a little while before cutting it off: a
// close that loses no answer to a reset.
void CloseGracefully(QTcpSocket* socket);

}  // namespace web
