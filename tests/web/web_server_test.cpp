// The results page's server from outside, as a phone or an attacker sees
// it: every hostile request is followed by a normal one that must still be
// answered.
#include "web/web_server.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QWebSocket>

#include "http_exchange.h"
#include "meeting/board.h"
#include "platform/sqlite_store.h"
#include "support/temp_dir.h"

namespace {

using web_testing::Exchange;
using web_testing::Get;

// A WebSocket viewer that keeps every message it was pushed.
struct Viewer {
  explicit Viewer(quint16 port, const QString& path = QStringLiteral("/live")) {
    QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& m) { messages << m; });
    socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1%2").arg(port).arg(path)));
  }
  // Waits for each message in turn: no polling interval between them.
  bool WaitForPasses(int passes, int ms = 5000) {
    QSignalSpy arrived(&socket, &QWebSocket::textMessageReceived);
    while (LastPasses() != passes) {
      if (!arrived.wait(ms)) return false;
    }
    return true;
  }
  int LastPasses() const {
    return messages.isEmpty() ? -1 : QJsonDocument::fromJson(messages.last().toUtf8()).object()["passes"].toInt();
  }
  QWebSocket socket;
  QStringList messages;
};

// A viewer on a bare socket: it answers no ping, and reads only if told to.
QByteArray UpgradeRequest() {
  return "GET /live HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
         "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
}

web::LiveRace Race(int passes, std::string description = "Final") {
  web::LiveRace race;
  race.running = true;
  race.race = "26120601";
  race.description = std::move(description);
  race.passes = passes;
  race.cars.push_back({1, 3, passes, "13,402", "13,101", "En carrera", true, ""});
  return race;
}

class WebServerTest : public ::testing::Test {
 protected:
  void Open(const web::Limits& limits = {}) {
    server = std::make_unique<web::WebServer>(dir.path(), limits);
    ASSERT_TRUE(server->Start({QHostAddress(QHostAddress::LocalHost), 0})) << server->message().toStdString();
    port = server->address().port;
  }
  bool Alive() const { return Exchange(port, Get("/api/race")).status == 200; }

  testing_support::TempDir dir;
  std::unique_ptr<web::WebServer> server;
  quint16 port = 0;
};

TEST_F(WebServerTest, ServesThePageAndTheRacePublished) {
  Open();
  const auto page = Exchange(port, Get("/"));
  EXPECT_EQ(page.status, 200);
  EXPECT_TRUE(page.body.contains("/live.js"));
  EXPECT_TRUE(page.Header("content-security-policy").contains("default-src 'self'"));
  for (const char* file : {"/live.js", "/live.css", "/icon.svg"})
    EXPECT_GT(Exchange(port, Get(file)).body.size(), 100) << file;
  // Nothing published yet: an idle race, no records.
  const auto idle = QJsonDocument::fromJson(Exchange(port, Get("/api/race")).body).object();
  EXPECT_FALSE(idle["running"].toBool());
  EXPECT_TRUE(idle["last"].isNull());
  server->Publish(Race(4));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Exchange(port, Get("/api/race")).body.contains("\"passes\":4"); }));
  const auto api = Exchange(port, Get("/api/race"));
  EXPECT_EQ(api.Header("content-type"), "application/json");
  EXPECT_EQ(api.Header("access-control-allow-origin"), "*");
  EXPECT_EQ(QJsonDocument::fromJson(Exchange(port, Get("/api/days")).body).object()["days"].toArray().size(), 0);

  // A meeting's board: on the page between heats only, and kept when the server starts again.
  meeting::Board board;
  board.name = "Club night";
  board.heatCount = 5;
  board.next = meeting::HeatSlot{2, meeting::Stage::Rotation, 2, 0, 5, 2, true};
  board.lineup = {{1, 7}};
  board.drivers = {{7, "Ana <b>Ruiz</b>", "Ana", {}, "GT", true}};
  server->PublishBoard(std::make_shared<const meeting::Board>(board));
  const auto meetingNow = [&] { return QJsonDocument::fromJson(Exchange(port, Get("/api/race")).body)["meeting"]; };
  web::LiveRace between;
  between.passes = 5;
  server->Publish(between);
  ASSERT_TRUE(QTest::qWaitFor([&] { return meetingNow().isObject(); }));
  EXPECT_EQ(meetingNow()["heat"].toString(), QStringLiteral("Manga 2/5"));
  EXPECT_EQ(meetingNow()["lineup"][0]["name"].toString(), QStringLiteral("Ana <b>Ruiz</b>"));
  server->Publish(Race(6));
  ASSERT_TRUE(QTest::qWaitFor([&] { return meetingNow().isNull(); }));
  server->Stop();
  ASSERT_TRUE(server->Start({QHostAddress(QHostAddress::LocalHost), port}));
  between.spanish = false;
  server->Publish(between);
  ASSERT_TRUE(QTest::qWaitFor([&] { return meetingNow()["heat"].toString() == QStringLiteral("Heat 2/5"); }));
}

TEST_F(WebServerTest, TheMeetingsInterfaceReadsTheStoreOnceItIsThere) {
  Open();
  const auto before = Exchange(port, Get("/api/meetings"));
  EXPECT_EQ(before.status, 503);
  EXPECT_EQ(QJsonDocument::fromJson(before.body)["error"].toString(), QStringLiteral("missing"));
  EXPECT_FALSE(dir.Exists(platform::kStoreFileName));
  platform::SqliteStore store(dir.File(platform::kStoreFileName));
  ASSERT_TRUE(store.SaveDriver({0, "Ana", "Ana", 7, "GT", true})) << store.Status().detail;
  const auto drivers = Exchange(port, Get("/api/drivers"));
  EXPECT_EQ(drivers.status, 200);
  EXPECT_EQ(QJsonDocument::fromJson(drivers.body)["drivers"][0]["number"].toInt(), 7);
  EXPECT_EQ(Exchange(port, Get("/api/season/GT/2026?best=2")).status, 200);
  EXPECT_EQ(Exchange(port, Get("/api/meetings/1/../../drivers")).status, 404);
}

TEST_F(WebServerTest, HeadHasTheHeadersWithoutTheBody) {
  Open();
  const auto get = Exchange(port, Get("/"));
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(socket.waitForConnected(3000));
  socket.write(Get("/", "HEAD"));
  const auto head = web_testing::ReadReply(socket, 3000, true);
  EXPECT_TRUE(head.body.isEmpty());
  EXPECT_EQ(head.status, 200);
  EXPECT_EQ(head.Header("content-length").toLongLong(), get.body.size());
  // Any body after the headers would be read as the start of the next answer.
  socket.write(Get("/api/race"));
  const auto next = web_testing::ReadReply(socket);
  EXPECT_EQ(next.status, 200);
  EXPECT_TRUE(next.body.startsWith("{"));
}

TEST_F(WebServerTest, APortTakenIsSaidInBothLanguages) {
  QTcpServer taken;
  ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
  web::WebServer second(dir.path());
  EXPECT_FALSE(second.Start({QHostAddress(QHostAddress::LocalHost), taken.serverPort()}));
  EXPECT_FALSE(second.listening());
  const QString port = QString::number(taken.serverPort());
  EXPECT_TRUE(second.message().contains(QStringLiteral("El puerto ") + port + QStringLiteral(" ya está en uso")));
  EXPECT_TRUE(second.message().contains(QStringLiteral("Port ") + port + QStringLiteral(" is already in use")));
  EXPECT_EQ(second.StateText(false).left(4), QStringLiteral("Port"));
}

TEST_F(WebServerTest, OnlyGetAndHeadAreAnswered) {
  Open();
  for (const char* method : {"POST", "PUT", "DELETE", "PATCH", "OPTIONS", "TRACE", "BREW"}) {
    const auto reply = Exchange(port, Get("/api/race", method));
    EXPECT_EQ(reply.status, 405) << method;
    EXPECT_EQ(reply.Header("allow"), "GET, HEAD") << method;
    EXPECT_TRUE(Alive()) << method;
  }
}

TEST_F(WebServerTest, PathsOutsideThePageAndTheInterfaceAreNotFound) {
  dir.Write("261206.TXT", "not a record name\r\n");
  Open();
  for (const char* path :
       {"/../../etc/passwd", "../../etc/passwd", "/%2e%2e/%2e%2e/etc/passwd",
        "/api/races/26120601/../../../../etc/passwd", "/api/races/..%2f..%2fetc%2fpasswd", "/..\\..\\etc\\passwd",
        "/api/days/..\\261206", "//etc/passwd", "/etc/passwd", "/api/days/261206%00", "/api/days/%32%36%31%32%30%36",
        "/api/races/2612060a", "/api/races/26120600", "/api/days/261206.TXT", "/index.html/..", "/live.js%00.html",
        "http://127.0.0.1/../../etc/passwd", "/api/race/../days", "/API/RACE"}) {
    const auto reply = Exchange(port, Get(path));
    EXPECT_EQ(reply.status, 404) << path;
    EXPECT_FALSE(reply.body.contains("root:")) << path;
    EXPECT_TRUE(Alive()) << path;
  }
}

TEST_F(WebServerTest, OversizedHeadersAndBodiesAreRefused) {
  Open();
  const QByteArray big = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Big: " + QByteArray(20000, 'a') + "\r\n\r\n";
  const auto headers = Exchange(port, big);
  EXPECT_EQ(headers.status, 431);
  EXPECT_TRUE(headers.closed);
  EXPECT_TRUE(Alive());
  const QByteArray longLine = "GET /" + QByteArray(17000, 'x') + " HTTP/1.1\r\n\r\n";
  EXPECT_EQ(Exchange(port, longLine).status, 431);
  EXPECT_TRUE(Alive());
  EXPECT_EQ(Exchange(port, "GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n\r\nhello").status, 413);
  EXPECT_TRUE(Alive());
  const QByteArray hugeBody = "GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 1000000\r\n\r\n" + QByteArray(30000, 'b');
  EXPECT_EQ(Exchange(port, hugeBody).status, 413);
  EXPECT_TRUE(Alive());
}

TEST_F(WebServerTest, MalformedRequestsLeaveTheServerAnswering) {
  Open();
  EXPECT_EQ(Exchange(port, "GET /\xff\xfe%ff%c3%28 HTTP/1.1\r\nHost: x\r\n\r\n").status, 404);
  EXPECT_TRUE(Alive());
  EXPECT_EQ(Exchange(port, "GET /api/race HTTP/1.1\r\nHost: \xc3\x28\xff\r\nX: \xed\xa0\x80\r\n\r\n").status, 200);
  EXPECT_TRUE(Alive());
  for (const QByteArray& junk :
       {QByteArray("\x00\x01\x02garbage\r\n\r\n", 14), QByteArray("GET\r\n\r\n"), QByteArray("GET / HTTP/9\r\n\r\n")}) {
    const auto reply = Exchange(port, junk, 2000);
    EXPECT_TRUE(reply.status == 400 || reply.status == 404 || reply.closed) << junk.toHex().toStdString();
    EXPECT_TRUE(Alive()) << junk.toHex().toStdString();
  }
}

TEST_F(WebServerTest, SlowAndIdleClientsAreDropped) {
  web::Limits limits;
  limits.requestTimeoutMs = 300;
  Open(limits);
  QTcpSocket idle;
  idle.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(idle.waitForConnected(3000));
  QTcpSocket slow;
  slow.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(slow.waitForConnected(3000));
  slow.write("GET / HTTP/1.1\r\nHost: x\r\n");
  // A byte every 50 ms never completes the request, nor buys more time.
  QTimer drip;
  QObject::connect(&drip, &QTimer::timeout, [&slow] { slow.write("X"); });
  drip.start(50);
  const auto reply = web_testing::ReadReply(slow, 3000);
  EXPECT_EQ(reply.status, 408);
  EXPECT_TRUE(reply.closed);
  EXPECT_TRUE(QTest::qWaitFor([&] { return idle.state() == QAbstractSocket::UnconnectedState; }, 3000));
  EXPECT_TRUE(Alive());
}

TEST_F(WebServerTest, AFloodOfConnectionsGets503BeyondTheCap) {
  web::Limits limits;
  limits.maxConnections = 8;
  Open(limits);
  std::vector<std::unique_ptr<QTcpSocket>> held;
  for (int i = 0; i < limits.maxConnections; ++i) {
    held.push_back(std::make_unique<QTcpSocket>());
    held.back()->connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(held.back()->waitForConnected(3000));
  }
  for (int i = 0; i < 20; ++i) EXPECT_EQ(Exchange(port, Get("/api/race")).status, 503);
  held.pop_back();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Alive(); }));
  // Viewers that leave give their places back too.
  held.clear();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Alive(); }));
  for (int i = 0; i < 3 * limits.maxConnections; ++i) {
    Viewer viewer(port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->viewers() == 1; })) << i;
    viewer.socket.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->viewers() == 0; })) << i;
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return Alive(); }));
}

TEST_F(WebServerTest, ViewersGetTheRaceAtOnceAndEveryChange) {
  Open();
  server->Publish(Race(1));
  Viewer viewer(port);
  ASSERT_TRUE(viewer.WaitForPasses(1));
  EXPECT_EQ(server->viewers(), 1);
  server->Publish(Race(2));
  ASSERT_TRUE(viewer.WaitForPasses(2));
  // Only the newest of races handed over in a burst has to be sent; it always is.
  for (int passes = 3; passes <= 300; ++passes) server->Publish(Race(passes));
  ASSERT_TRUE(viewer.WaitForPasses(300));
  EXPECT_LE(viewer.messages.size(), 300);
  // An upgrade to any other path is closed.
  Viewer stray(port, QStringLiteral("/elsewhere"));
  QSignalSpy closed(&stray.socket, &QWebSocket::disconnected);
  EXPECT_TRUE(closed.wait(3000));
  EXPECT_TRUE(stray.messages.isEmpty());
}

TEST_F(WebServerTest, AViewerThatDoesNotReadIsDropped) {
  web::Limits limits;
  limits.maxUnsentBytes = 64 * 1024;
  Open(limits);
  Viewer reading(port);
  QTcpSocket stalled;
  stalled.setReadBufferSize(1024);  // reads nothing more once a kilobyte waits
  stalled.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(stalled.waitForConnected(3000));
  stalled.write(UpgradeRequest());
  ASSERT_TRUE(QTest::qWaitFor([&] { return server->viewers() == 2; }));
  const std::string description(4000, 'd');
  int passes = 0;
  while (server->viewers() == 2 && passes < 400) {
    server->Publish(Race(++passes, description));
    ASSERT_TRUE(reading.WaitForPasses(passes));
  }
  EXPECT_EQ(server->viewers(), 1);
  EXPECT_LT(passes, 400);
  server->Publish(Race(++passes));
  ASSERT_TRUE(reading.WaitForPasses(passes));
}

TEST_F(WebServerTest, AViewerThatAnswersNoPingIsDropped) {
  web::Limits limits;
  limits.pingIntervalMs = 100;
  Open(limits);
  Viewer answering(port);
  QTcpSocket silent;
  silent.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(silent.waitForConnected(3000));
  silent.write(UpgradeRequest());
  QObject::connect(&silent, &QTcpSocket::readyRead, [&silent] { silent.readAll(); });
  ASSERT_TRUE(QTest::qWaitFor([&] { return server->viewers() == 2; }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return silent.state() == QAbstractSocket::UnconnectedState; }, 3000));
  EXPECT_EQ(server->viewers(), 1);
  EXPECT_EQ(answering.socket.state(), QAbstractSocket::ConnectedState);
}

TEST_F(WebServerTest, StopClosesEverythingAndStartServesAgain) {
  Open();
  Viewer viewer(port);
  ASSERT_TRUE(QTest::qWaitFor([&] { return server->viewers() == 1; }));
  server->Stop();
  EXPECT_FALSE(server->listening());
  ASSERT_TRUE(QTest::qWaitFor([&] { return viewer.socket.state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(Exchange(port, Get("/api/race"), 1000).status, 0);
  ASSERT_TRUE(server->Start({QHostAddress(QHostAddress::LocalHost), port}));
  EXPECT_TRUE(Alive());
}

}  // namespace
