#include "records/readers.h"
#include "records/pass_order.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <tuple>

namespace records {
namespace {

using Messages = std::vector<std::string>;

std::string Invalid(const std::string& text, const char* kind = "integer") {
  return "'" + text + "' is not a valid " + kind + " value";
}

TEST(ReadersTest, RacesWithAnyLineEndingAndCp1252Text) {
  const auto r = ReadRaces(
      "7\t10\t4\t18h05'03\"045\tDescripci\xF3n \x80\r\n1\t5\t10\t09h05'03\"045\t\r\n"
      "2\t6\t3\tB\ty\n3\t7\t4\tC\tz\r4\t8\t5\tD\tw");
  ASSERT_EQ(r.items.size(), 5u);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_FALSE(r.stopped);
  const TRace& first = r.items[0];
  EXPECT_EQ(std::tuple(first.race, first.minutes, first.cars), std::tuple(7, 10, 4));
  EXPECT_EQ(first.startTime, "18h05'03\"045");
  EXPECT_EQ(first.description, "Descripción €");
  EXPECT_EQ(r.items[1].description, "");
  EXPECT_EQ(r.items[3].startTime + r.items[4].description, "Cw");
}

TEST(ReadersTest, MalformedLinesAreStillTakenIn) {
  // The short line keeps lap time and total of the line before; the long one
  // drops its sixth field.
  const auto r = SacaPSS("12\t3\t4\t21,532\t01'27\"310\r\n13\t5\t6\r\n14\t1\t2\t40\tT\tX\r\n");
  ASSERT_EQ(r.items.size(), 3u);
  EXPECT_EQ(r.messages, (Messages{kBadPassesLine, kBadPassesLine}));
  EXPECT_EQ(std::tuple(r.items[1].pass, r.items[1].car, r.items[1].lap), std::tuple(13, 5, 6));
  EXPECT_DOUBLE_EQ(r.items[1].lapTime, 21.532);
  EXPECT_EQ(r.items[1].total, "01'27\"310");
  EXPECT_DOUBLE_EQ(r.items[2].lapTime, 40.0);
  EXPECT_EQ(r.items[2].total, "T");
}

TEST(ReadersTest, UnconvertibleNumberEndsTheReading) {
  const std::string good = "1\t2\t3\t4,5\tT\n";
  auto expectStop = [](const auto& r, std::size_t items, const Messages& messages) {
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.items.size(), items);
    EXPECT_EQ(r.messages, messages);
  };
  expectStop(SacaPSS(good + "2\tabc\t3\t4\tT\n" + good), 1, {Invalid("abc")});
  expectStop(SacaPSS(good + "2\t3\t3\t21.532\tT\n"), 1, {Invalid("21.532", "floating point")});
  expectStop(SacaPSS(good + "2\t3\t3\tinf\tT\n"), 1, {Invalid("inf", "floating point")});
  expectStop(SacaPSS(good + "\n" + good), 1, {kBadPassesLine, Invalid("")});
  expectStop(SacaPSS(good + "1\t256\t3\t4\tT\n"), 1, {Invalid("256")});
  expectStop(SacaPSS("1\t2\t65536\t4\tT\n"), 0, {Invalid("65536")});
  expectStop(SacaPSS("1\t-1\t2\t4\tT\n"), 0, {Invalid("-1")});
  expectStop(ReadRaces("123456789012345678901234567890\t1\t1\tA\tB\n"), 0, {Invalid("123456789012345678901234567890")});
  expectStop(ReadEvents("1\t-\t2\tT\tX\n"), 0, {Invalid("-")});

  const auto edge = SacaPSS("+65535\t255\t-0\t-1,25\tT\n");
  ASSERT_EQ(edge.items.size(), 1u);
  EXPECT_EQ(std::tuple(edge.items[0].pass, edge.items[0].car, edge.items[0].lap), std::tuple(65535, 255, 0));
  EXPECT_DOUBLE_EQ(edge.items[0].lapTime, -1.25);
  EXPECT_EQ(edge.stoppedLine, 0u);

  // The line that ended the reading, counted in the whole file (a
  // classification's three heading lines too, and lines ended by CR alone).
  EXPECT_EQ(SacaPSS(good + good + "3\tseven\t3\t4\tT\n").stoppedLine, 3u);
  EXPECT_EQ(ReadClassification("D\rS\r\nF\n1\t2\t3\tT\t4\r\nx\t2\t3\tT\t4\r\n").rows.stoppedLine, 5u);
}

TEST(ReadersTest, OverlongLineIsCutAt255Bytes) {
  const std::string head = "1\t5\t10\tT\t";
  const auto r = ReadRaces(head + std::string(300, 'd') + "\r\n2\t5\t10\tT\tnext\r\n");
  ASSERT_EQ(r.items.size(), 2u);
  EXPECT_EQ(r.items[0].description, std::string(255 - head.size(), 'd'));
  EXPECT_EQ(r.items[1].description, "next");
}

TEST(ReadersTest, ClassificationHeaderAndRows) {
  const auto full = ReadClassification(
      "Final \xF3\r\nCarrera 07 (10 minutos 4 coches)\r\nCrono com\xFAn.\r\n"
      "1\t3\t14\t09'58\"713\t40,102\r\n2\t1\r\n");
  EXPECT_EQ(full.description + "|" + full.startLine + "|" + full.finishLine,
            "Final ó|Carrera 07 (10 minutos 4 coches)|Crono común.");
  ASSERT_EQ(full.rows.items.size(), 2u);
  EXPECT_EQ(full.rows.messages, Messages{kBadClassificationRow});
  EXPECT_DOUBLE_EQ(full.rows.items[0].fastestLap, 40.102);
  // The short row keeps laps and texts of the row before, not of a header.
  const TLClasif& second = full.rows.items[1];
  EXPECT_EQ(std::tuple(second.position, second.car, second.laps), std::tuple(2, 1, 14));
  EXPECT_EQ(second.total, "09'58\"713");

  const auto unfinished = ReadClassification("\r\nCarrera 01\r\n");
  EXPECT_EQ(unfinished.description + "|" + unfinished.startLine + "|" + unfinished.finishLine, "|Carrera 01|");
  EXPECT_TRUE(unfinished.rows.items.empty() && unfinished.rows.messages.empty());
}

TEST(ReadersTest, EventsAbsentCarLapAndDetail) {
  const auto r = ReadEvents(
      "5\t3\t12\t250,117\tRPTJ\r\n6\t--\t--\t262,900\tMANU\ttrack \x80\r\n7\t2\t--\t270\tNOCO\tx\ty\r\n8\t4\r\n");
  ASSERT_EQ(r.items.size(), 4u);
  EXPECT_EQ(r.messages, Messages{kBadEventsLine});
  EXPECT_TRUE(r.items[0].hasCar && r.items[0].hasLap && !r.items[0].hasDetail);
  EXPECT_EQ(r.items[0].lap, 12);
  EXPECT_FALSE(r.items[1].hasCar || r.items[1].hasLap);
  EXPECT_TRUE(r.items[1].hasDetail);
  EXPECT_EQ(r.items[1].detail, "track €");
  EXPECT_EQ(r.items[2].car, 2);
  EXPECT_EQ(r.items[2].detail, "x");
  // A short line: lap "--" and the texts come from the line before.
  EXPECT_TRUE(r.items[3].hasCar && !r.items[3].hasLap && !r.items[3].hasDetail);
  EXPECT_EQ(r.items[3].time + r.items[3].type, "270NOCO");
}

TEST(ReadersTest, ArbitraryBytesNeverBreakAReader) {
  std::mt19937 random(1234);
  std::string bytes(200000, '\0');
  const std::string alphabet("0123456789\t\t\t\r\n,.-+\x80\xFF", 22);  // with a NUL
  for (char& c : bytes) c = alphabet[random() % alphabet.size()];
  for (std::size_t from = 0; from < bytes.size(); from += 40000) {
    const std::string_view input = std::string_view(bytes).substr(from);
    ReadRaces(input);
    ReadClassification(input);
    ReadEvents(input);
    const auto r = SacaPSS(input);
    EXPECT_EQ(r.stopped, !r.messages.empty() && r.messages.back().find("is not a valid") != std::string::npos);
  }
  // Every lone CR ends a line, so the first line is already empty.
  EXPECT_EQ(ReadEvents(std::string(100000, '\r')).messages, (Messages{kBadEventsLine, Invalid("")}));
  EXPECT_EQ(ReadRaces(std::string(100000, '7')).messages.back(), Invalid(std::string(255, '7')));
}

TEST(ReadersTest, ReadWholeFileKeepsEveryByte) {
  const std::string path = testing::TempDir() + "readers_test_file.bin";
  const std::string content("a\0b\r\nc\rd\n\xFF", 10);
  std::ofstream(path, std::ios::binary) << content;
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, content);
  std::remove(path.c_str());
  EXPECT_FALSE(ReadWholeFile(path, bytes));
}

}  // namespace
}  // namespace records

namespace {

TEST(PassOrder, ByCarKeepsEachCarsPassesInRaceOrderAndByPassRestores) {
  auto result = records::SacaPSS(
      "1\t3\t1\t8,000\t00'08\"000\r\n2\t1\t1\t9,000\t00'09\"000\r\n3\t3\t2\t20,000\t00'28\"000\r\n"
      "4\t12\t1\t30,000\t00'30\"000\r\n5\t1\t2\t25,000\t00'34\"000\r\n");
  auto& p = result.items;
  records::OrderPassesByCar(p);
  std::vector<std::pair<int, int>> carPass;
  for (const auto& x : p) carPass.emplace_back(x.car, x.pass);
  EXPECT_EQ(carPass, (std::vector<std::pair<int, int>>{{1, 2}, {1, 5}, {3, 1}, {3, 3}, {12, 4}}));
  records::OrderPassesByPass(p);
  for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i].pass, i + 1);
}

}  // namespace

namespace {

TEST(PassesList, LoadsOrdersAndReloadsAnotherRace) {
  testing_support::TempDir dir;
  dir.Write("a.pss", "1\t5\t1\t8,000\t00'08\"000\r\n2\t2\t1\t9,000\t00'09\"000\r\n3\t5\t2\t20,000\t00'28\"000\r\n"
                     "4\t2\t2\t21,000\t00'30\"000\r\n4\t2\t9\t1,000\t00'31\"000\r\n");
  dir.Write("b.pss", "1\t7\t1\t8,000\t00'08\"000\r\nbad line\r\n");
  records::PassesList list;
  ASSERT_TRUE(list.Load(dir.File("a.pss")));
  list.OrderByCar();
  std::vector<std::tuple<int, int, int>> seen;
  for (const auto& p : list.items()) seen.emplace_back(p.car, p.pass, p.lap);
  // The duplicated pass 4 of car 2 (a hand edit) keeps its file order.
  EXPECT_EQ(seen, (std::vector<std::tuple<int, int, int>>{{2, 2, 1}, {2, 4, 2}, {2, 4, 9}, {5, 1, 1}, {5, 3, 2}}));
  list.OrderByPass();
  EXPECT_EQ(list.items().front().car, 5);
  EXPECT_EQ(list.items().back().lap, 9);

  ASSERT_TRUE(list.Load(dir.File("b.pss")));
  EXPECT_EQ(list.items().size(), 1u);
  EXPECT_TRUE(list.result().stopped);
  EXPECT_FALSE(list.Load(dir.File("missing.pss")));
  EXPECT_TRUE(list.items().empty());
}

}  // namespace

namespace {

TEST(ReadersOnHugeFiles, ALongLineWithoutEndingIsCutAndTheRestIsRead) {
  // 20 MB without a line break: one line, cut to its first 255 bytes.
  std::string bytes = "1\t3\t1\t8,000\t" + std::string(20u << 20, '7');
  const auto result = records::SacaPSS(bytes);
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].total.size(), 255u - 12u);  // after "1\t3\t1\t8,000\t"
  // Many short lines: every one read.
  std::string many;
  for (int i = 1; i <= 65535; ++i) many += std::to_string(i) + "\t2\t1\t1,000\t00'01\"000\r\n";
  EXPECT_EQ(records::SacaPSS(many).items.size(), 65535u);
  many += "65536\t2\t1\t1,000\t00'01\"000\r\n";
  const auto beyond = records::SacaPSS(many);
  EXPECT_TRUE(beyond.stopped);  // pass numbers are held up to 65535
  EXPECT_EQ(beyond.items.size(), 65535u);
}

}  // namespace
