// A race's result from its passes and its correction lines, as a steward
// would write it by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "records/corrections.h"
#include "records/race_files.h"
#include "records/readers.h"
#include "results/laps.h"
#include "results/race_result.h"

namespace {

using records::Correction;
using Kind = records::Correction::Kind;
using results::Refusal;

std::string Duration(long long ms) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lld'%02lld\"%03lld", ms / 60000, ms / 1000 % 60, ms % 1000);
  return buf;
}

// Common timing, a minimum lap of 10 s. Car 1 laps at 20 s; car 2's third
// lap (42 s) hides a missed press; car 3 got a false press at 48 s.
struct ThreeCars {
  std::vector<records::TPaso> passes;
  std::vector<records::TInci> events;
  int PassAt(int car, long long ms) const {
    for (const auto& p : passes) {
      if (p.car == car && p.total == Duration(ms)) return p.pass;
    }
    return 0;
  }
  ThreeCars() {
    std::vector<std::pair<long long, int>> crossings;
    for (long long t : {20, 40, 60, 80, 100}) crossings.push_back({t * 1000, 1});
    for (long long t : {21, 42, 84, 105}) crossings.push_back({t * 1000, 2});
    for (long long t : {19, 38, 48, 58, 77, 96}) crossings.push_back({t * 1000, 3});
    std::sort(crossings.begin(), crossings.end());
    long long last[13] = {};
    int n = 0;
    for (const auto& [ms, car] : crossings) {
      records::TPaso p;
      p.pass = static_cast<std::uint16_t>(++n);
      p.car = static_cast<std::uint8_t>(car);
      p.lapTime = static_cast<double>(ms - last[car]) / 1000.0;
      p.total = Duration(ms);
      last[car] = ms;
      passes.push_back(p);
    }
  }
  // Correction lines written and read back as the events file holds them.
  void Record(Correction c) {
    c.number = static_cast<int>(events.size()) + 1;
    const std::string bytes = records::EncodeLine(records::CorrectionLine(c, "--"));
    const auto read = records::ReadEvents(bytes);
    ASSERT_TRUE(read.messages.empty());
    ASSERT_EQ(read.items.size(), 1u);
    events.push_back(read.items[0]);
  }
  results::RaceResult Result() const { return results::ComputeResult({passes, events, {1, 2, 3}, true, 10000}); }
};

using Row = std::tuple<int, int, std::string>;  // car, laps, total as the file writes it
std::vector<Row> Rows(const results::RaceResult& result) {
  std::vector<Row> rows;
  for (const auto& r : results::ClassificationRecords(result)) rows.emplace_back(r.car, r.laps, r.total);
  return rows;
}

TEST(RaceResult, StewardsClassificationAndItsUndo) {
  ThreeCars race;
  const auto original = race.Result();
  EXPECT_EQ(Rows(original), (std::vector<Row>{{3, 6, "01'36\"000"}, {1, 5, "01'40\"000"}, {2, 4, "01'45\"000"}}));
  EXPECT_FALSE(original.corrected);
  ASSERT_EQ(original.rows[2].car, 2);
  EXPECT_EQ(results::SuggestedDoubleLaps(original.rows[2]), std::vector<int>{race.PassAt(2, 84000)});

  race.Record({Kind::AddLap, 0, 2, race.PassAt(2, 84000), -1, 0, 0, 0, "missed press"});
  race.Record({Kind::RemovePass, 0, 3, race.PassAt(3, 48000), -1, 0, 0, 0, "false press: car 5's key"});
  race.Record({Kind::TimePenalty, 0, 1, 0, -1, 10000, 0, 0, "jumped the start"});
  race.Record({Kind::Disqualify, 0, 3, 0, -1, 0, 0, 0, "underweight"});
  const auto corrected = race.Result();
  EXPECT_EQ(Rows(corrected), (std::vector<Row>{{2, 5, "01'45\"000"}, {1, 5, "01'50\"000"}, {3, 5, "DSQ"}}));
  const auto rows = results::ClassificationRows(corrected);
  EXPECT_EQ(rows[0], "1\t2\t5\t01'45\"000\t21,000");  // the split halves are 21 s each
  EXPECT_EQ(rows[1], "2\t1\t5\t01'50\"000\t20,000");
  EXPECT_EQ(rows[2], "3\t3\t5\tDSQ\t19,000");          // 38 to 58 is one lap of 20 s now
  EXPECT_TRUE(corrected.corrected);

  for (int undone = 1; undone <= 4; ++undone) {
    race.Record({Kind::Undo, 0, race.events[static_cast<std::size_t>(undone - 1)].car, 0, -1, 0, 0, undone, "by mistake"});
  }
  EXPECT_EQ(Rows(race.Result()), Rows(original));
  // An undo of an undone correction is refused, and so is one of an undo.
  EXPECT_EQ(results::Check({race.passes, race.events, {1, 2, 3}, true, 10000}, {Kind::Undo, 0, 2, 0, -1, 0, 0, 1, ""}),
            Refusal::NoSuchCorrection);
  EXPECT_EQ(results::Check({race.passes, race.events, {1, 2, 3}, true, 10000}, {Kind::Undo, 0, 2, 0, -1, 0, 0, 5, ""}),
            Refusal::NoSuchCorrection);
}

TEST(RaceResult, TheChartsDrawTheCorrectedLaps) {
  ThreeCars race;
  race.Record({Kind::AddLap, 0, 2, race.PassAt(2, 84000), -1, 0, 0, 0, "missed press"});
  race.Record({Kind::RemovePass, 0, 3, race.PassAt(3, 48000), -1, 0, 0, 0, "false press"});
  const auto result = race.Result();
  const auto laps = results::LapsAfter(result, {1, 2, 3}, true);
  ASSERT_EQ(laps.size(), 3u);
  using Seen = std::vector<std::tuple<int, double, double, int>>;  // lap, seconds, elapsed, pass
  auto seen = [](const results::CarLaps& car) {
    Seen out;
    for (const auto& l : car.laps) out.emplace_back(l.lap, l.seconds, l.elapsed, l.pass);
    return out;
  };
  // Car 2: its 42 s lap is two of 21 s, the added crossing has no pass.
  EXPECT_EQ(seen(laps[1]), (Seen{{2, 21, 42, race.PassAt(2, 42000)}, {3, 21, 63, 0}, {4, 21, 84, race.PassAt(2, 84000)},
                                 {5, 21, 105, race.PassAt(2, 105000)}}));
  // Car 3: the false press at 48 s is gone, its lap merged into the next.
  EXPECT_EQ(seen(laps[2]), (Seen{{2, 19, 38, race.PassAt(3, 38000)}, {3, 20, 58, race.PassAt(3, 58000)},
                                 {4, 19, 77, race.PassAt(3, 77000)}, {5, 19, 96, race.PassAt(3, 96000)}}));
  // Every view counts the laps the classification counts.
  for (const auto& row : result.rows) {
    const auto& car = laps[static_cast<std::size_t>(row.car - 1)];
    EXPECT_EQ(static_cast<int>(car.laps.size()) + (car.partialFirst ? 1 : 0), row.laps) << row.car;
  }
  EXPECT_EQ(results::PositionsByLap(laps)[1].points.back(), (std::pair<int, int>{5, 3}));
}

TEST(RaceResult, RefusesWhatNoRaceCouldHave) {
  ThreeCars race;
  const results::RaceInput input{race.passes, race.events, {1, 2, 3}, true, 15000};
  // Halves of a 20 s lap are shorter than a 15 s minimum lap; a 42 s lap splits.
  EXPECT_EQ(results::Check(input, {Kind::AddLap, 0, 1, race.PassAt(1, 40000), -1, 0, 0, 0, ""}),
            Refusal::ShorterThanMinimum);
  EXPECT_EQ(results::Check(input, {Kind::AddLap, 0, 2, race.PassAt(2, 84000), -1, 0, 0, 0, ""}), Refusal::None);
  EXPECT_EQ(results::Check(input, {Kind::AddLap, 0, 2, race.PassAt(2, 84000), 90000, 0, 0, 0, ""}),
            Refusal::SplitOutside);
  EXPECT_EQ(results::Check(input, {Kind::LapPenalty, 0, 2, 0, -1, 0, 5, 0, ""}), Refusal::NegativeLaps);
  EXPECT_EQ(results::Check(input, {Kind::RemovePass, 0, 2, race.PassAt(1, 40000), -1, 0, 0, 0, ""}),
            Refusal::NoSuchPass);
  EXPECT_EQ(results::Check(input, {Kind::Disqualify, 0, 7, 0, -1, 0, 0, 0, ""}), Refusal::NotRacing);
  EXPECT_FALSE(results::RefusalText(Refusal::NegativeLaps, true).empty());

  // After a lap penalty that leaves no lap, no pass can be taken away.
  race.Record({Kind::LapPenalty, 0, 2, 0, -1, 0, 4, 0, ""});
  EXPECT_EQ(results::Check({race.passes, race.events, {1, 2, 3}, true, 15000},
                           {Kind::RemovePass, 0, 2, race.PassAt(2, 21000), -1, 0, 0, 0, ""}),
            Refusal::NegativeLaps);
  // A split at a given time: 84 s lap end, 63 s crossing.
  race.Record({Kind::AddLap, 0, 2, race.PassAt(2, 84000), 63000, 0, 0, 0, ""});
  const auto result = race.Result();
  const auto& car2 = *std::find_if(result.rows.begin(), result.rows.end(), [](const auto& r) { return r.car == 2; });
  EXPECT_EQ(car2.laps, 1);
  ASSERT_EQ(car2.crossings.size(), 5u);
  EXPECT_EQ(car2.crossings[2].atMs, 63000);
  EXPECT_EQ(car2.crossings[2].pass, 0);
}

TEST(CorrectionLines, ReadBackStrictly) {
  Correction split{Kind::AddLap, 12, 3, 17, 83407, 0, 0, 0, "sensor: missed"};
  const std::string line = records::CorrectionLine(split, "250,117");
  EXPECT_EQ(line, "12\t3\t--\t250,117\tCORR\t+1 P17 @83,407: sensor: missed");
  const auto read = records::ReadEvents(records::EncodeLine(line));
  ASSERT_EQ(read.items.size(), 1u);
  const auto back = records::ParseCorrection(read.items[0]);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->pass, 17);
  EXPECT_EQ(back->splitMs, 83407);
  EXPECT_EQ(back->reason, "sensor: missed");

  auto parse = [](const char* code, const char* detail, int car = 3) {
    records::TInci l;
    l.number = 1;
    l.hasCar = car > 0;
    l.car = static_cast<std::uint8_t>(car);
    l.type = code;
    l.hasDetail = true;
    l.detail = detail;
    return records::ParseCorrection(l);
  };
  EXPECT_TRUE(parse("PEN", "+10,000 s"));
  EXPECT_TRUE(parse("PEN", "-2 L: cut the chicane"));
  EXPECT_TRUE(parse("ANUL", "#4"));
  for (const auto& [code, detail, car] : std::vector<std::tuple<const char*, const char*, int>>{
           {"PEN", "+-10 s", 3}, {"PEN", "+0 s", 3}, {"PEN", "-0 L", 3}, {"PEN", "-99999 L", 3},
           {"PEN", "+99999999 s", 3}, {"CORR", "+1 P0", 3}, {"CORR", "+1 P70000", 3}, {"CORR", "-1 P5 @3,000", 3},
           {"CORR", "+2 P5", 3}, {"CORR", "+1 P5 @-3,000", 3}, {"DSQ", "DSQ now", 3}, {"DSQ", "DSQ", 0},
           {"DSQ", "DSQ", 13}, {"ANUL", "#", 3}, {"ANUL", "#x", 3}, {"MANU", "DSQ", 3}, {"CORR", "+1 P1e3", 3}}) {
    EXPECT_FALSE(parse(code, detail, car)) << code << " " << detail;
  }
}

}  // namespace
