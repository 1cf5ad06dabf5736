#include "support/fakes.h"

#include <algorithm>

#include "race/sound_cues.h"

namespace testing_support {

void FakeClock::AdvanceMillis(std::int64_t ms) {
  time.unixNanos += ms * 1000000;
  std::int64_t t = (time.MillisOfDay() + ms) % (24LL * 3600 * 1000);
  time.millisecond = static_cast<int>(t % 1000);
  time.second = static_cast<int>(t / 1000 % 60);
  time.minute = static_cast<int>(t / 60000 % 60);
  time.hour = static_cast<int>(t / 3600000);
}

bool FakeSound::CueExists(const std::string& fileName) {
  return std::find(files.begin(), files.end(), fileName) != files.end();
}

void FakeSound::AddAllCues(const std::vector<std::string>& except) {
  for (const auto& f : race::AllCueFiles()) {
    if (std::find(except.begin(), except.end(), f) == except.end()) files.push_back(f);
  }
}

records::IoResult MemorySink::Result(bool fail) const {
  records::IoResult r;
  if (fail) {
    r.ok = false;
    r.error = error;
  }
  return r;
}

records::IoResult MemorySink::StartRace(const records::RaceStartRecord& record) {
  if (failStart) return Result(true);
  ++starts;
  lastStart = record;
  passes.clear();
  events.clear();
  rows.clear();
  finishLine.clear();
  return {};
}

records::IoResult MemorySink::AppendPass(const std::string& line) {
  if (failPasses) return Result(true);
  passes.push_back(line);
  return {};
}

records::IoResult MemorySink::AppendEvent(const std::string& line) {
  if (failEvents) return Result(true);
  events.push_back(line);
  return {};
}

records::IoResult MemorySink::FinishRace(const std::string& line, const std::vector<std::string>& r) {
  ++finishes;
  if (failFinish) return Result(true);
  finishLine = line;
  rows = r;
  return {};
}

records::IoResult MemorySink::ResumeRace(const std::string& raceBase) {
  resumed = raceBase;
  return {};
}

}  // namespace testing_support
