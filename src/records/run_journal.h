#pragma once
// The journal of a race being run (YYMMDDnn.run): what a race needs to be
// continued after a crash, a kill or a power cut and that its record files
// do not hold. Written once, durably, at the start; removed at the finish.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace records {

struct RunJournal {
  std::string raceBase;     // e.g. 26120601
  std::vector<int> cars;    // the participating cars, ascending
  bool individualTiming = true;
  int raceMinutes = 5;
  int minLapSeconds = 13;
  bool spanish = true;
  bool soundOn = false;
  std::int64_t frequency = 0;      // counter ticks per second
  std::int64_t startCount = 0;     // the counter at the start button
  std::int64_t startWallMillis = 0;  // the time of day at the start, milliseconds
  std::int64_t startUnixNanos = 0;   // the wall clock at the start
  std::string bootId;       // the machine's boot identity at the start
};

// The journal's name for a race base: 26120601.run.
std::string RunJournalName(std::string_view raceBase);
bool IsRunJournalName(std::string_view fileName);

std::string FormatRunJournal(const RunJournal& journal);
// Nothing when the text is not a whole journal (a start cut short).
std::optional<RunJournal> ParseRunJournal(std::string_view text);

}  // namespace records
