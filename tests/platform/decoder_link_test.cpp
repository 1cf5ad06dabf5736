// The link over a real TCP connection to a gate played by a local server:
// silence never closes it, and what arrived before a hang-up still counts.
#include "platform/decoder_link.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "support/fakes.h"

namespace {

using platform::DecoderLink;
using State = DecoderLink::State;

// The descriptor of this process's socket whose local port is `port`.
int SocketOnPort(quint16 port) {
  for (int fd = 3; fd < 1024; ++fd) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0 && address.sin_family == AF_INET &&
        ntohs(address.sin_port) == port) {
      return fd;
    }
  }
  return -1;
}

class GateServer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    Choose(link);
  }
  void Choose(DecoderLink& l) {
    platform::LinkChoice choice;
    choice.kind = platform::LinkChoice::Kind::kTcp;
    choice.host = "127.0.0.1";
    choice.port = server.serverPort();
    l.Open(choice);
  }
  // The link's next connection, as the gate accepts it.
  QTcpSocket* Accept() {
    if (!QTest::qWaitFor([&] { return server.hasPendingConnections(); }, 5000)) return nullptr;
    ++accepted;
    return server.nextPendingConnection();
  }
  testing_support::FakeCounter counter;
  DecoderLink link{counter};
  QTcpServer server;
  QSignalSpy crossed{&link, &DecoderLink::Crossed};
  int accepted = 0;
};

TEST_F(GateServer, ASilentGateKeepsItsConnectionAndItsPasses) {
  QTcpSocket* gate = Accept();
  ASSERT_NE(gate, nullptr);
  gate->write("TRELVIX-GATE 1 quiet gate\nP 3 5000000\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return crossed.count() == 1; }, 5000));
  // Keepalive probes after two quiet seconds find a gate that went away.
  const int fd = SocketOnPort(gate->peerPort());
  ASSERT_GE(fd, 0);
  int on = 0, idle = 0;
  socklen_t size = sizeof on;
  ::getsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, &size);
  ::getsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, &size);
  EXPECT_EQ(on, 1);
  EXPECT_EQ(idle, DecoderLink::kKeepAliveIdleSeconds);

  // Four seconds without a line: shown as lost, but the connection stays.
  counter.AdvanceSeconds(4);
  ASSERT_TRUE(QTest::qWaitFor([&] { return link.status().state == State::kLost; }, 5000));
  gate->write("P 3 9000000\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return crossed.count() == 2; }, 5000));
  EXPECT_EQ(link.status().state, State::kUp);
  EXPECT_EQ(gate->state(), QAbstractSocket::ConnectedState);
  EXPECT_EQ(accepted, 1);
}

TEST_F(GateServer, WhatArrivedBeforeAHangUpStillCounts) {
  QTcpSocket* gate = Accept();
  ASSERT_NE(gate, nullptr);
  // 60 kB that take the link many turns to read, a pass, and the gate hangs up.
  QByteArray burst = "TRELVIX-GATE 1 gate\nH 1000000\n";
  while (burst.size() < 60'000) burst += "# a gate's note that no one reads\n";
  gate->write(burst + "P 7 1000000\n");
  gate->disconnectFromHost();
  ASSERT_TRUE(QTest::qWaitFor([&] { return crossed.count() == 1; }, 5000));
  EXPECT_EQ(crossed.at(0).at(0).toInt(), 7);
  // The link comes back by itself.
  EXPECT_NE(Accept(), nullptr);
}

}  // namespace
