// The result function on a long race: 10,000 passes of 12 cars and 50
// corrections (laps added and removed, penalties, disqualifications,
// undos), from the records as read, and from the files' bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "records/corrections.h"
#include "records/lines.h"
#include "records/race_files.h"
#include "records/readers.h"
#include "results/race_result.h"

namespace {

struct LongRace {
  std::string passes;
  std::string events;
  LongRace() {
    long long at[13] = {};
    int lastPass[13] = {};
    for (int pass = 1; pass <= 10000; ++pass) {
      const int car = pass % 12 + 1;
      const long long lap = 20000 + (pass * 7919) % 15000 + (pass % 97 == 0 ? 30000 : 0);
      at[car] += lap;
      char total[32];
      std::snprintf(total, sizeof total, "%lldh %02lld'%02lld\"%03lld", at[car] / 3600000, at[car] / 60000 % 60,
                    at[car] / 1000 % 60, at[car] % 1000);
      passes += records::EncodeLine(records::PassLine(pass, car, pass / 12, records::SecondsText(lap), total));
      lastPass[car] = pass;
    }
    using Kind = records::Correction::Kind;
    for (int n = 1; n <= 50; ++n) {
      records::Correction c;
      c.number = n;
      c.car = n % 12 + 1;
      c.reason = "stewards";
      switch (n % 10) {
        case 0: case 1: case 2: case 3:
          c.kind = Kind::AddLap;
          c.pass = 97 * n;  // the long laps
          c.car = 97 * n % 12 + 1;
          break;
        case 4: case 5:
          c.kind = Kind::RemovePass;
          c.pass = lastPass[c.car] - 12 * n;
          break;
        case 6: c.kind = Kind::TimePenalty; c.penaltyMs = 10000; break;
        case 7: c.kind = Kind::LapPenalty; c.laps = 1; break;
        case 8: c.kind = Kind::Disqualify; break;
        default: c.kind = Kind::Undo; c.undone = n - 1; c.car = (n - 1) % 12 + 1; break;
      }
      events += records::EncodeLine(records::CorrectionLine(c, "3600,000"));
    }
  }
};

const LongRace& Race() {
  static const LongRace race;
  return race;
}

const std::vector<int> kCars = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

void BM_ResultOfRecords(benchmark::State& state) {
  const auto passes = records::SacaPSS(Race().passes).items;
  const auto events = records::ReadEvents(Race().events).items;
  for (auto _ : state) {
    const auto result = results::ComputeResult({passes, events, kCars, true, 5000});
    benchmark::DoNotOptimize(result.rows.data());
    if (!result.corrected || passes.size() != 10000 || events.size() != 50) state.SkipWithError("not the race");
  }
}
BENCHMARK(BM_ResultOfRecords)->Unit(benchmark::kMillisecond);

void BM_ResultOfFileBytes(benchmark::State& state) {
  for (auto _ : state) {
    const auto passes = records::SacaPSS(Race().passes).items;
    const auto events = records::ReadEvents(Race().events).items;
    const auto result = results::ComputeResult({passes, events, kCars, true, 5000});
    benchmark::DoNotOptimize(result.rows.data());
  }
}
BENCHMARK(BM_ResultOfFileBytes)->Unit(benchmark::kMillisecond);

}  // namespace
