#pragma once
// Test stand-ins for the machine: a counter and a clock the test moves by
// hand, a sound device that records what it was asked to play, a folder
// listing from a list, and a record sink that fails on demand.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/counter.h"
#include "platform/directory.h"
#include "platform/sound.h"
#include "records/race_files.h"

namespace testing_support {

class FakeCounter final : public platform::PerformanceCounter {
 public:
  explicit FakeCounter(std::int64_t frequency = 1000000000, std::int64_t start = 5000000000)
      : frequency_(frequency), now_(start) {}
  std::optional<std::int64_t> Frequency() override {
    if (frequency_ <= 0) return std::nullopt;
    return frequency_;
  }
  std::int64_t Read() override {
    ++reads;
    return now_;
  }
  void AdvanceSeconds(double seconds) { now_ += static_cast<std::int64_t>(seconds * static_cast<double>(frequency_) + 0.5); }
  void AdvanceTicks(std::int64_t ticks) { now_ += ticks; }
  std::int64_t now() const { return now_; }
  int reads = 0;

 private:
  std::int64_t frequency_;
  std::int64_t now_;
};

class FakeClock final : public platform::WallClock {
 public:
  FakeClock() {
    time.year = 2026; time.month = 12; time.day = 6; time.hour = 18; time.minute = 5; time.second = 3; time.millisecond = 45;
    time.unixNanos = 1796580303045000000;  // 2026-12-06 18:05:03.045 UTC
  }
  platform::LocalDateTime Now() override { return time; }
  // Moves the time of day on, wrapping at midnight (the date stays).
  void AdvanceMillis(std::int64_t ms);
  platform::LocalDateTime time;
};

class FakeSound final : public platform::SoundDevice {
 public:
  int OutputDeviceCount() override { return devices; }
  bool CueExists(const std::string& fileName) override;
  void PlayCue(const std::string& fileName) override { played.push_back(fileName); }
  void Beep() override { played.emplace_back("BEEP"); }
  // Makes every cue file of the standard set exist, optionally without some.
  void AddAllCues(const std::vector<std::string>& except = {});

  int devices = 1;
  std::vector<std::string> files;
  std::vector<std::string> played;
};

class FakeLister final : public platform::DirectoryLister {
 public:
  std::vector<std::string> List(const std::string&) override { return names; }
  std::vector<std::string> names;
};

// Keeps every line in memory; a chosen call fails with the given words.
class MemorySink final : public records::RecordSink {
 public:
  records::IoResult StartRace(const records::RaceStartRecord& record) override;
  records::IoResult AppendPass(const std::string& line) override;
  records::IoResult AppendEvent(const std::string& line) override;
  records::IoResult FinishRace(const std::string& finishLine, const std::vector<std::string>& rows) override;
  records::IoResult ResumeRace(const std::string& raceBase) override;

  bool failStart = false;
  bool failPasses = false;
  bool failEvents = false;
  bool failFinish = false;
  std::string error = "No space left on device";

  int starts = 0;
  int finishes = 0;
  std::string resumed;  // the base of the race last resumed
  records::RaceStartRecord lastStart;
  std::vector<std::string> passes;
  std::vector<std::string> events;
  std::string finishLine;
  std::vector<std::string> rows;

 private:
  records::IoResult Result(bool fail) const;
};

}  // namespace testing_support
