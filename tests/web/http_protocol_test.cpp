// HTTP/1.1 and WebSocket rules the results page keeps, driven from raw
// sockets on loopback; every wait is bounded.
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>

#include "http_exchange.h"
#include "support/temp_dir.h"
#include "web/web_server.h"

namespace {

using web_testing::Exchange;
using web_testing::Get;

// Far below the server's 10 s request time, far above any answer on loopback.
constexpr int kPromptMs = 2000;

class HttpProtocolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Start({QHostAddress(QHostAddress::LocalHost), 0}));
    port = server.address().port;
  }
  bool Connect(QTcpSocket& socket) const {
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(3000);
  }
  // Everything the server sends until it closes, and how long that took.
  QByteArray UntilClosed(QTcpSocket& socket, qint64& ms) const {
    QElapsedTimer clock;
    clock.start();
    QByteArray all;
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 4 * kPromptMs) {
      socket.waitForReadyRead(100);
      all += socket.readAll();
    }
    all += socket.readAll();
    ms = clock.elapsed();
    return all;
  }

  testing_support::TempDir dir;
  web::WebServer server{dir.path()};
  quint16 port = 0;
};

TEST_F(HttpProtocolTest, ConnectionCloseAndHttp10CloseRightAfterTheAnswer) {
  for (const QByteArray& request : {QByteArray("GET /api/days HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"),
                                    QByteArray("GET /api/days HTTP/1.0\r\n\r\n")}) {
    QTcpSocket socket;
    ASSERT_TRUE(Connect(socket));
    socket.write(request);
    qint64 ms = 0;
    const QByteArray answer = UntilClosed(socket, ms);
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 200")) << request.constData();
    EXPECT_TRUE(answer.contains("\r\nConnection: close\r\n")) << request.constData();
    EXPECT_TRUE(answer.endsWith("{\"days\":[]}")) << request.constData();
    EXPECT_LT(ms, kPromptMs) << request.constData();
  }
}

TEST_F(HttpProtocolTest, AClientThatEndsItsSideAfterTheRequestGetsTheWholeAnswer) {
  // A race of 20000 passes: an answer well beyond one kernel buffer.
  std::string pss;
  for (int i = 1; i <= 20000; ++i) pss += std::to_string(i) + "\t7\t" + std::to_string(i) + "\t13,5\t00'13\"500\r\n";
  dir.Write("26120600.TXT", "1\t5\t1\t18h05'03\"045\tFinal\r\n");
  dir.Write("26120601.cls", "Final\r\nS\r\nF\r\n1\t7\t1\t00'13\"500\t13,5\r\n");
  dir.Write("26120601.pss", pss);
  for (const QByteArray& path : {QByteArray("/api/days"), QByteArray("/api/races/26120601")}) {
    QTcpSocket socket;
    ASSERT_TRUE(Connect(socket));
    socket.write("GET " + path + " HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(socket.flush());
    ASSERT_EQ(::shutdown(static_cast<int>(socket.socketDescriptor()), SHUT_WR), 0);
    qint64 ms = 0;
    const QByteArray answer = UntilClosed(socket, ms);
    const qsizetype bodyAt = answer.indexOf("\r\n\r\n") + 4;
    ASSERT_TRUE(answer.startsWith("HTTP/1.1 200")) << path.constData();
    const web_testing::Reply head{200, answer.left(bodyAt), {}, true};
    EXPECT_EQ(answer.size() - bodyAt, head.Header("content-length").toLongLong()) << path.constData();
    EXPECT_TRUE(answer.endsWith("}")) << path.constData();
  }
}

TEST_F(HttpProtocolTest, PipelinedRequestsAreAnsweredInOrder) {
  QByteArray burst;
  for (int i = 0; i < 600; ++i) burst += Get(i % 2 ? "/api/days" : "/api/race");
  QTcpSocket socket;
  ASSERT_TRUE(Connect(socket));
  socket.write(burst);
  // The answers one after the other, each as long as its Content-Length says.
  QByteArray data;
  QElapsedTimer clock;
  clock.start();
  int answers = 0;
  while (answers < 600 && clock.elapsed() < 10000) {
    const qsizetype bodyAt = data.indexOf("\r\n\r\n");
    const web_testing::Reply head{0, data.left(bodyAt), {}, false};
    const qsizetype length = head.Header("content-length").toLongLong();
    if (bodyAt < 0 || data.size() < bodyAt + 4 + length) {
      socket.waitForReadyRead(100);
      data += socket.readAll();
      continue;
    }
    ASSERT_TRUE(data.startsWith("HTTP/1.1 200")) << answers;
    ASSERT_EQ(data.mid(bodyAt + 4).startsWith("{\"days\""), answers % 2 == 1) << answers;
    data.remove(0, bodyAt + 4 + length);
    ++answers;
  }
  EXPECT_EQ(answers, 600);
  EXPECT_EQ(socket.state(), QAbstractSocket::ConnectedState);
}

TEST_F(HttpProtocolTest, RequestsTwoParsersCouldReadTwoWaysAreRefused) {
  const std::pair<QByteArray, int> cases[] = {
      {"GET /\r\n\r\n", 400},                                   // no version
      {"GET / HTTX/1.1\r\nHost: x\r\n\r\n", 400},               // not HTTP
      {"GET / HTTP/1.1 x\r\nHost: x\r\n\r\n", 400},             // a word too many
      {"GET  / HTTP/1.1\r\nHost: x\r\n\r\n", 400},              // two spaces
      {"GET / HTTP/2.0\r\nHost: x\r\n\r\n", 505},               // another version
      {"GET / HTTP/1.1\r\n\r\n", 400},                          // HTTP/1.1 without Host
      {"GET / HTTP/1.1\r\nHost: x\r\nHost: y\r\n\r\n", 400},    // two hosts
      {"GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nContent-Length: 0\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nContent-Length: 5\r\n\r\nhello", 400},
      {"GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\nTransfer-Encoding: x\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nHost: x\r\nContent-Length: -1\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nHost: x\r\nContent-Length : 5\r\n\r\n", 400},  // a blank before the colon
      {"GET / HTTP/1.1\r\nHost: x\r\nX: a\r\n  folded\r\n\r\n", 400},     // a folded line
      {"GET / HTTP/1.1\r\nHost: x\r\nExpect: teapot\r\n\r\n", 417},
  };
  for (const auto& [request, status] : cases) {
    const auto reply = Exchange(port, request, kPromptMs);
    EXPECT_EQ(reply.status, status) << request.constData();
    EXPECT_TRUE(reply.closed) << request.constData();
  }
  EXPECT_EQ(Exchange(port, Get("/api/race")).status, 200);
}

TEST_F(HttpProtocolTest, ARequestWaitingForContinueIsAnsweredAtOnce) {
  // No body is ever taken: the final answer comes without the body being sent.
  for (const auto& [request, status] :
       {std::pair<QByteArray, int>{"POST /api/race HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\nExpect: 100-continue\r\n\r\n", 405},
        std::pair<QByteArray, int>{"GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\nExpect: 100-continue\r\n\r\n", 413}}) {
    QElapsedTimer clock;
    clock.start();
    const auto reply = Exchange(port, request, kPromptMs);
    EXPECT_EQ(reply.status, status);
    EXPECT_TRUE(reply.closed);
    EXPECT_LT(clock.elapsed(), kPromptMs);
  }
  // Without a body there is nothing to wait for: an ordinary answer.
  EXPECT_EQ(Exchange(port, "GET /api/race HTTP/1.1\r\nHost: x\r\nExpect: 100-continue\r\n\r\n").status, 200);
}

TEST_F(HttpProtocolTest, HugeHeadersAreAnsweredAndClosedWithoutAReset) {
  QTcpSocket socket;
  ASSERT_TRUE(Connect(socket));
  socket.write("GET / HTTP/1.1\r\nHost: x\r\nX-Big: " + QByteArray(40 * 1024, 'a') + "\r\n\r\n");
  qint64 ms = 0;
  const QByteArray answer = UntilClosed(socket, ms);
  EXPECT_TRUE(answer.startsWith("HTTP/1.1 431")) << answer.left(40).constData();
  // The whole answer: a reset would have thrown away what was not read yet.
  EXPECT_TRUE(answer.endsWith("431 Request Header Fields Too Large\n"));
}

TEST_F(HttpProtocolTest, AnUnmaskedFrameFromAViewerClosesItsConnection) {
  for (const bool masked : {true, false}) {
    QTcpSocket socket;
    ASSERT_TRUE(Connect(socket));
    socket.write(
        "GET /live HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
        "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.viewers() == 1; }, 3000));
    // A ping, "hi", masked with a zero key or not masked at all.
    socket.write(masked ? QByteArray::fromHex("898200000000") + "hi" : QByteArray::fromHex("8902") + "hi");
    if (masked) {
      // Answered with a pong, and the viewer stays.
      QByteArray seen;
      EXPECT_TRUE(QTest::qWaitFor([&] { return (seen += socket.readAll()).contains(QByteArray::fromHex("8a02") + "hi"); },
                                  kPromptMs));
      EXPECT_EQ(server.viewers(), 1);
    } else {
      EXPECT_TRUE(QTest::qWaitFor([&] { return server.viewers() == 0; }, kPromptMs));
      EXPECT_TRUE(QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, kPromptMs));
      EXPECT_FALSE(socket.readAll().contains(QByteArray::fromHex("8a02") + "hi"));
    }
    socket.abort();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.viewers() == 0; }, 3000));
  }
}

}  // namespace
