// Reading a passes file of 65535 lines with SacaPSS and ordering it by car,
// next to reading the same file line by line with no parsing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "records/lines.h"
#include "records/pass_order.h"
#include "records/race_files.h"
#include "records/readers.h"

namespace {

const std::string& PassesFile() {
  static const std::string path = [] {
    const auto p = std::filesystem::temp_directory_path() / "trelvix-bench-65535.pss";
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    for (int pass = 1; pass <= 65535; ++pass) {
      const int car = pass % 12 + 1;
      char lap[32], total[32];
      std::snprintf(lap, sizeof lap, "%d,%03d", 10 + pass % 20, pass % 1000);
      std::snprintf(total, sizeof total, "%02d'%02d\"%03d", pass / 60 % 60, pass % 60, pass % 1000);
      out << records::EncodeLine(records::PassLine(pass, car, pass / 12, lap, total));
    }
    return p.string();
  }();
  return path;
}

void BM_SacaPSSAndOrderByCar(benchmark::State& state) {
  const std::string& path = PassesFile();
  records::PassesList passes;  // held by the browser for as long as it is open
  for (auto _ : state) {
    passes.Load(path);
    passes.OrderByCar();
    benchmark::DoNotOptimize(passes.items().data());
    if (passes.items().size() != 65535) state.SkipWithError("short read");
  }
  state.SetItemsProcessed(state.iterations() * 65535);
}
BENCHMARK(BM_SacaPSSAndOrderByCar)->Unit(benchmark::kMillisecond);

void BM_ReadLinesOnly(benchmark::State& state) {
  const std::string& path = PassesFile();
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::string line;  // one buffer, reused for every line
    std::size_t lines = 0;
    while (std::getline(in, line)) ++lines;
    benchmark::DoNotOptimize(lines);
    if (lines != 65535) state.SkipWithError("short read");
  }
  state.SetItemsProcessed(state.iterations() * 65535);
}
BENCHMARK(BM_ReadLinesOnly)->Unit(benchmark::kMillisecond);

}  // namespace
