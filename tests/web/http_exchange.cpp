#include "http_exchange.h"

#include <QDeadlineTimer>
#include <QHostAddress>

namespace web_testing {

QByteArray Reply::Header(const QByteArray& name) const {
  for (const QByteArray& line : head.split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower()) return line.mid(colon + 1).trimmed();
  }
  return {};
}

Reply ReadReply(QTcpSocket& socket, int timeoutMs, bool headOnly) {
  Reply reply;
  QByteArray data;
  const QDeadlineTimer deadline(timeoutMs);
  qsizetype length = -1;
  qsizetype bodyAt = -1;
  while (!deadline.hasExpired()) {
    data += socket.readAll();
    if (bodyAt < 0 && (bodyAt = data.indexOf("\r\n\r\n")) >= 0) {
      reply.head = data.left(bodyAt);
      bodyAt += 4;
      const QByteArray status = reply.head.split(' ').value(1);
      reply.status = status.toInt();
      const QByteArray lengthText = reply.Header("content-length");
      length = headOnly ? 0 : lengthText.isEmpty() ? -1 : lengthText.toLongLong();
    }
    // A whole answer; one that ends the connection is waited for until it does.
    if (bodyAt >= 0 && length >= 0 && data.size() - bodyAt >= length &&
        reply.Header("connection").toLower() != "close") {
      break;
    }
    if (socket.state() != QAbstractSocket::ConnectedState) {
      reply.closed = true;
      data += socket.readAll();
      break;
    }
    socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
  }
  if (bodyAt >= 0) reply.body = data.mid(bodyAt, length >= 0 ? length : -1);
  return reply;
}

Reply Exchange(quint16 port, const QByteArray& request, int timeoutMs) {
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, port);
  if (!socket.waitForConnected(timeoutMs)) return {};
  socket.write(request);
  socket.flush();
  return ReadReply(socket, timeoutMs);
}

QByteArray Get(const QByteArray& path, const QByteArray& method) {
  return method + ' ' + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
}

}  // namespace web_testing
