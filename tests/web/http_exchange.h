#pragma once
// A raw client for the results page's server: sends bytes exactly as given
// (hostile ones too) and reads what comes back until the answer is whole
// or the server closes.

#include <QByteArray>
#include <QTcpSocket>

namespace web_testing {

struct Reply {
  int status = 0;  // 0: no answer
  QByteArray head;
  QByteArray body;
  bool closed = false;  // the server closed the connection
  QByteArray Header(const QByteArray& name) const;
};

// One exchange on a new connection to 127.0.0.1:port.
Reply Exchange(quint16 port, const QByteArray& request, int timeoutMs = 3000);
// The answer to bytes already sent on an open connection.
// An answer to HEAD has a length but no body (headOnly).
Reply ReadReply(QTcpSocket& socket, int timeoutMs = 3000, bool headOnly = false);
// "GET path HTTP/1.1" with a Host header.
QByteArray Get(const QByteArray& path, const QByteArray& method = "GET");

}  // namespace web_testing
