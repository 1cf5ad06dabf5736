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

TEST(Session, AGateResetResynchronisesWithoutAPass) {
  Session session(kSecond);
  session.Feed("TRELVIX-GATE 1\nH 900000000\nH 901000000\n", kConnected);
  ExpectNear(session.Feed("P 2 500000\n", kConnected + 2 * kSecond), 2, kConnected + 2 * kSecond);
  EXPECT_TRUE(session.Feed("TRELVIX-GATE 1 rebooted\n", kConnected + 3 * kSecond).empty());
  ExpectNear(session.Feed("P 2 40000\n", kConnected + 4 * kSecond), 2, kConnected + 4 * kSecond);
  EXPECT_EQ(session.Counts().resets, 2U);  // time going back, then a hello
}

TEST(Session, AStuckSensorCostsThreePassesASecondADoubleTriggerNothing) {
  Session session(kSecond);
  EXPECT_EQ(session.Feed("P 3 1000000\nP 3 1060000\n", kConnected).size(), 2U);
  EXPECT_FALSE(session.Flooded(kConnected));
  std::string stuck;
  for (int i = 0; i < 150; ++i) stuck += "P 5 " + std::to_string(1'000'000 + i * 1000) + "\n";
  const auto passes = session.Feed(stuck + "P 6 1200000\n", kConnected);
  ASSERT_EQ(passes.size(), 4U);
  EXPECT_EQ(passes[3].car, 6);
  EXPECT_EQ(session.Counts().droppedPasses[5], 147U);
  EXPECT_EQ(session.Feed("P 5 2500000\n", kConnected + 2 * kSecond).size(), 1U);
  EXPECT_TRUE(session.Flooded(kConnected + 9 * kSecond));
  EXPECT_FALSE(session.Flooded(kConnected + 10 * kSecond));
}

TEST(Session, AFloodIsDroppedUnparsedBeyondTheLineBudget) {
  Session session(kSecond);
  std::string flood;
  while (flood.size() < (1U << 20)) flood += "P 1 " + std::to_string(flood.size()) + "\nH 5\n";
  EXPECT_LE(session.Feed(flood, kConnected).size(), 3U);
  const auto& counts = session.Counts();
  EXPECT_EQ(counts.lines - counts.droppedLines, static_cast<std::uint64_t>(decoder::kMaxLinesPerSecond));
  EXPECT_GT(counts.droppedLines, 100'000U);
  EXPECT_TRUE(session.Flooded(kConnected + 9 * kSecond));
  // The next second has a budget of its own.
  EXPECT_EQ(session.Feed("P 2 9000000\n", kConnected + kSecond).size(), 1U);
}

TEST(Session, ResetStartsANewConnection) {
  Session session(kSecond);
  session.Feed("TRELVIX-GATE 1 old\nH 900000000\nP 4 9000", kConnected);
  session.Reset();
  ExpectNear(session.Feed("00\nP 4 1000\n", kConnected + kSecond), 4, kConnected + kSecond);
  EXPECT_EQ(session.Counts().lines, 2U);
  EXPECT_EQ(session.Counts().lastHello, "");
  EXPECT_EQ(session.Counts().resets, 0U);
}

}  // namespace
