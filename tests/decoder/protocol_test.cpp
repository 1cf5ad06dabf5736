#include "decoder/protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The lines a splitter hands over, a too-long one as "<long>".
Lines Split(decoder::LineSplitter& splitter, std::string_view bytes) {
  Lines lines;
  splitter.Push(bytes, [&](const decoder::Line& l) { lines.push_back(l.tooLong ? "<long>" : std::string(l.text)); });
  return lines;
}

TEST(LineSplitter, LinesMaySpanChunksAndLoseOneCarriageReturn) {
  decoder::LineSplitter splitter;
  EXPECT_EQ(Split(splitter, "H 1\r\nP 3 "), Lines{"H 1"});
  EXPECT_EQ(Split(splitter, "12"), Lines{});
  EXPECT_EQ(Split(splitter, "34\n\nH 5\r\r\nH 9"), (Lines{"P 3 1234", "", "H 5\r"}));
  splitter.Clear();
  EXPECT_EQ(Split(splitter, "H 7\n"), Lines{"H 7"});
}

TEST(LineSplitter, SixtyFourBytesWithTheLineFeedAndNoMore) {
  decoder::LineSplitter splitter;
  const std::string longest(63, 'x');
  EXPECT_EQ(Split(splitter, longest + "\n"), Lines{longest});
  // The carriage return counts: 63 bytes, CR and LF make 65.
  EXPECT_EQ(Split(splitter, longest + "\r\nH 1\n"), (Lines{"<long>", "H 1"}));
  EXPECT_EQ(Split(splitter, longest.substr(0, 40)), Lines{});
  EXPECT_EQ(Split(splitter, longest.substr(0, 24) + "\nH 2\n"), (Lines{"<long>", "H 2"}));
  // An endless line is one bad line, skipped up to its LF.
  const std::string mebibyte(1 << 20, 'P');
  EXPECT_EQ(Split(splitter, mebibyte), Lines{"<long>"});
  EXPECT_EQ(Split(splitter, mebibyte), Lines{});
  EXPECT_EQ(Split(splitter, "P 1 5\nH 6\n"), Lines{"H 6"});
}

TEST(Parse, TheThreeMessages) {
  EXPECT_EQ(std::get<decoder::Hello>(decoder::Parse("TRELVIX-GATE 1")).text, "");
  EXPECT_EQ(std::get<decoder::Hello>(decoder::Parse("TRELVIX-GATE 1 lane A v2.1")).text, "lane A v2.1");
  const auto pass = std::get<decoder::Pass>(decoder::Parse("P 12 18446744073709551615"));
  EXPECT_EQ(pass.car, 12);
  EXPECT_EQ(pass.micros, 18446744073709551615ULL);
  EXPECT_EQ(std::get<decoder::Pass>(decoder::Parse("P 1 0")).micros, 0U);
  EXPECT_EQ(std::get<decoder::Heartbeat>(decoder::Parse("H 10000000000000000042")).micros, 10000000000000000042U);
  EXPECT_EQ(std::get<decoder::Hello>(decoder::Parse("TRELVIX-GATE 1 a  b " + std::string(43, '~'))).text.size(), 48U);
}

TEST(Parse, EverythingElseIsBad) {
  for (const char* line : {"",
                           "TRELVIX-GATE 2",
                           "TRELVIX-GATE 10",
                           "TRELVIX-GATE 1\tx",
                           "TRELVIX-GATE 1 caf\xc3\xa9",
                           "TRELVIX-GATE 1 ",
                           "TRELVIX-GATE 1  x",
                           "TRELVIX-GATE 1 x ",
                           "TRELVIX-GATE 1x",
                           "P 1 007",
                           "P 1 00",
                           "H 00000000000000000042",
                           "P 0 5",
                           "P 13 5",
                           "P 03 5",
                           "P 1",
                           "P 1 ",
                           "P  1 5",
                           "P 1  5",
                           "P 1 5 ",
                           " P 1 5",
                           "P 1 +5",
                           "P 1 5x",
                           "P 1 18446744073709551616",
                           "P 1 000000000000000000001",
                           "p 1 5",
                           "H",
                           "H 5 6",
                           "H\t5"}) {
    EXPECT_TRUE(std::holds_alternative<decoder::Bad>(decoder::Parse(line))) << line;
  }
}

}  // namespace
