#include "decoder/session.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using decoder::Session;

constexpr std::int64_t kSecond = 1'000'000'000;
constexpr std::int64_t kConnected = 7'000 * kSecond;

// A pass mapped at most 5 ms before the receive time of its line.
void ExpectNear(const std::vector<decoder::GatePass>& passes, int car, std::int64_t received) {
  ASSERT_EQ(passes.size(), 1U);
  EXPECT_EQ(passes[0].car, car);
  EXPECT_LE(passes[0].count, received);
  EXPECT_GE(passes[0].count, received - kSecond / 200);
}

TEST(Session, PassesComeOutInOrderOnTheCounterTimeBase) {
  Session session(kSecond);
  EXPECT_TRUE(session.Feed("TRELVIX-GATE 1 lane A\r\nH 1000000\r\nP 3 15", kConnected).empty());
  const auto passes = session.Feed("00000\r\nP 11 1700000\r\n", kConnected + kSecond);
  ASSERT_EQ(passes.size(), 2U);
  EXPECT_EQ(passes[0].car, 3);
  EXPECT_EQ(passes[1].count - passes[0].count, kSecond / 5);
  EXPECT_EQ(session.LastSeen(11), passes[1].count);
  EXPECT_EQ(session.LastSeen(4), std::nullopt);
}

TEST(Session, CountsLinesBadLinesAndHellos) {
  Session session(kSecond);
  EXPECT_EQ(session.SinceLastGoodLine(kConnected), std::nullopt);
  session.Feed("TRELVIX-GATE 1\nP 13 5\n" + std::string(300, 'x') + "\nTRELVIX-GATE 2\nH 5\n", kConnected);
  session.Feed("\xff\n\nTRELVIX-GATE 1 v2\n", kConnected + 3 * kSecond);
  const auto& counts = session.Counts();
  EXPECT_EQ(counts.lines, 8U);
  EXPECT_EQ(counts.badLines, 5U);
  EXPECT_EQ(counts.hellos, 2U);
  EXPECT_EQ(counts.lastHello, "v2");
  EXPECT_EQ(session.SinceLastGoodLine(kConnected + 4 * kSecond), kSecond);
}

TEST(Session, AfterARestartPassesWaitForTheNewOffsetAndKeepTheirStamps) {
  Session session(kSecond);
  std::string beats = "TRELVIX-GATE 1\n";
  for (int s = 0; s < 5; ++s) beats += "H " + std::to_string(900'000'000 + s * 1'000'000) + "\n";
  session.Feed(beats, kConnected);
  // The gate restarts at kConnected + 10 s; a car crosses 0.5 s later, its
  // line 200 ms late; heartbeats come promptly.
  const auto at = [](double seconds) { return kConnected + static_cast<std::int64_t>(seconds * kSecond); };
  EXPECT_TRUE(session.Feed("TRELVIX-GATE 1 rebooted\nH 0\n", at(10)).empty());
  EXPECT_TRUE(session.Feed("P 2 500000\n", at(10.7)).empty());
  std::vector<decoder::GatePass> passes;
  for (int s = 2; s <= 20 && passes.empty(); ++s) {
    passes = session.Feed("H " + std::to_string(s * 500'000) + "\n", at(10 + s * 0.5));
  }
  ASSERT_EQ(passes.size(), 1U);
  EXPECT_NEAR(static_cast<double>(passes[0].count), static_cast<double>(at(10.5)), kSecond / 200.0);
  EXPECT_TRUE(passes[0].approximate);
  EXPECT_EQ(session.Counts().resets, 1U);
  // With no line to anchor it, a waiting pass comes out after 5 s all the same.
  session.Feed("TRELVIX-GATE 1\nH 1\nP 2 200000\n", at(20));
  EXPECT_TRUE(session.Poll(at(24.9)).empty());
  EXPECT_EQ(session.Poll(at(25)).size(), 1U);
}

TEST(Session, AStuckSensorCostsThreePassesASecondADoubleTriggerNothing) {
  Session session(kSecond);
  EXPECT_EQ(session.Feed("P 3 1000000\nP 3 1060000\n", kConnected).size(), 2U);
  EXPECT_FALSE(session.Flooded(kConnected));
  std::string stuck;
  for (int i = 0; i < 150; ++i) stuck += "P 5 " + std::to_string(1'100'000 + i * 1000) + "\n";
  const auto passes = session.Feed(stuck + "P 6 1300000\n", kConnected);
  ASSERT_EQ(passes.size(), 4U);
  EXPECT_EQ(passes[3].car, 6);
  EXPECT_EQ(session.Counts().droppedPasses[5], 147U);
  EXPECT_EQ(session.Feed("P 5 2500000\n", kConnected + 2 * kSecond).size(), 1U);
  EXPECT_TRUE(session.Flooded(kConnected + 9 * kSecond));
  EXPECT_FALSE(session.Flooded(kConnected + 10 * kSecond));
}

TEST(Session, NoFloodOfOtherLinesCostsAPass) {
  Session session(kSecond);
  std::string junk;
  for (int i = 0; i < 300; ++i) junk += "# garbage from a loose wire " + std::to_string(i) + "\n";
  EXPECT_EQ(session.Feed(junk + "P 1 1000000\n", kConnected).size(), 1U);
  EXPECT_EQ(session.Feed(std::string(64 * 1024, '\xa5') + "\nP 2 1100000\n", kConnected).size(), 1U);
  std::string beats;
  for (int i = 0; i < 1000; ++i) beats += "H " + std::to_string(1'200'000 + i) + "\n";
  EXPECT_EQ(session.Feed(beats + "P 3 1300000\n", kConnected).size(), 1U);
  const auto& counts = session.Counts();
  EXPECT_EQ(counts.badLines, 301U);
  EXPECT_EQ(counts.droppedLines, 1000U - decoder::kMaxLinesPerSecond);
  EXPECT_EQ(counts.passes, 3U);
  EXPECT_TRUE(session.Flooded(kConnected + 9 * kSecond));
}

TEST(Session, AReconnectionDropsTheUnfinishedLineOnly) {
  Session session(kSecond);
  session.Feed("TRELVIX-GATE 1 gate\nH 900000000\nP 4 9000", kConnected);
  session.Reconnected();
  session.Feed("00\nH 901000000\n", kConnected + kSecond);
  EXPECT_EQ(session.Counts().lines, 4U);
  EXPECT_EQ(session.Counts().badLines, 1U);
  EXPECT_EQ(session.Counts().lastHello, "gate");
  EXPECT_EQ(session.Counts().resets, 0U);
}

TEST(Session, ResetStartsANewGate) {
  Session session(kSecond);
  session.Feed("TRELVIX-GATE 1 old\nH 900000000\nP 4 9000", kConnected);
  session.Reset();
  ExpectNear(session.Feed("00\nP 4 1000\n", kConnected + kSecond), 4, kConnected + kSecond);
  EXPECT_EQ(session.Counts().lines, 2U);
  EXPECT_EQ(session.Counts().lastHello, "");
  EXPECT_EQ(session.Counts().resets, 0U);
}

}  // namespace
