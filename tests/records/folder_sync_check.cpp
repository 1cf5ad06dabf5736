// Run with the sync shim preloaded (see tests/CMakeLists.txt): the order in
// which the race files and their folder reach the disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/directory.h"
#include "records/race_files.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::string> LogLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

records::RaceStartRecord Race(const std::string& base) {
  records::RaceStartRecord r;
  r.nextRaceBase = base;
  r.racesFileName = "26120600.TXT";
  r.startLine = "Carrera";
  r.racesLine = "1\t5\t10\t18h05'03\"045\t";
  r.journal = "TRELVIX-RUN 1\nend\n";
  return r;
}

std::vector<std::string> Tail(const std::vector<std::string>& lines, std::size_t n) {
  return {lines.end() - static_cast<std::ptrdiff_t>(std::min(n, lines.size())), lines.end()};
}

// The day's races file and its folder entry reach the disk before the
// journal: a race that can be continued is always in the day's list.
TEST(FolderSync, TheJournalComesAfterTheDaysListOfRaces) {
  const char* log = std::getenv("TRELVIX_SYNC_LOG");
  ASSERT_NE(log, nullptr) << "run with the sync shim preloaded";
  testing_support::TempDir dir;
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(dir.path(), lister);
  std::remove(log);
  ASSERT_TRUE(files.StartRace(Race("26120601")).ok);
  EXPECT_EQ(Tail(LogLines(log), 4),
            (std::vector<std::string>{"fdatasync " + dir.File("26120600.TXT"), "fsync " + dir.path(),
                                      "fdatasync " + dir.File("26120601.run"), "fsync " + dir.path()}));
  ASSERT_TRUE(files.FinishRace("fin", {}).ok);

  // A races file that exists already is no new entry.
  std::remove(log);
  ASSERT_TRUE(files.StartRace(Race("26120602")).ok);
  EXPECT_EQ(Tail(LogLines(log), 3),
            (std::vector<std::string>{"fdatasync " + dir.File("26120600.TXT"),
                                      "fdatasync " + dir.File("26120602.run"), "fsync " + dir.path()}));
}

}  // namespace
