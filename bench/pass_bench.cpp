// One accepted pass end to end (counter, race model, standings, durable
// passes line) next to the bare cost of appending and syncing the same line
// with plain POSIX calls, both on a real folder of the disk.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "platform/counter.h"
#include "platform/sound.h"
#include "race/race_control.h"
#include "records/race_files.h"

namespace {

// The real counter, moved on two seconds at every read so that twelve cars
// in turn never fall under the minimum lap.
class FastForwardCounter final : public platform::PerformanceCounter {
 public:
  std::optional<std::int64_t> Frequency() override { return real_.Frequency(); }
  std::int64_t Read() override {
    offset_ += 2000000000;
    return real_.Read() + offset_;
  }

 private:
  platform::MonotonicCounter real_;
  std::int64_t offset_ = 0;
};

std::filesystem::path BenchFolder(const char* name) {
  const char* base = std::getenv("TRELVIX_BENCH_DIR");
  auto folder = std::filesystem::path(base != nullptr ? base : ".") / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

void BM_AcceptedPass(benchmark::State& state) {
  const auto folder = BenchFolder("trelvix-bench-pass");
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(folder.string(), lister);
  FastForwardCounter counter;
  platform::SystemClock clock;
  platform::SilentSound sound;
  race::RaceControl control(counter, clock, sound, files);
  control.InitTiming();
  control.SetNumbering("991231", 1);
  control.RadioGroup2Click(race::kOtherDurationItem);
  control.SpinEdit1Change(180);
  for (int n = 1; n <= 12; ++n) control.CheckBoxClick(n, true);
  control.Button1Click();
  int car = 0;
  std::int64_t passes = 0;
  for (auto _ : state) {
    if (++passes % 4000 == 0) {  // a new race before the time runs out
      state.PauseTiming();
      control.Finalizar(true);
      control.SetNumbering("991231", 1);
      control.Button1Click();
      state.ResumeTiming();
    }
    car = car % 12 + 1;
    control.FormKeyDown(race::kVkF1 - 1 + car);
  }
  control.Finalizar(true);
  state.SetItemsProcessed(state.iterations());
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AcceptedPass)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_BareAppendAndSync(benchmark::State& state) {
  const auto folder = BenchFolder("trelvix-bench-bare");
  const std::string path = (folder / "bare.pss").string();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  const std::string line = "1234\t7\t123\t21,532\t01'27\"310\r\n";
  for (auto _ : state) {
    if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) state.SkipWithError("write");
    if (::fdatasync(fd) != 0) state.SkipWithError("fdatasync");
  }
  ::close(fd);
  state.SetItemsProcessed(state.iterations());
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_BareAppendAndSync)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace
