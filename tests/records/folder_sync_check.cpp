// Run with the sync shim preloaded (see tests/CMakeLists.txt): the order in
// which the race files and their folder reach the disk.
#include <gtest/gtest.h>

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
  return r;
}

TEST(FolderSync, TheDaysNewRacesFileHasItsFolderEntrySynced) {
  const char* log = std::getenv("TRELVIX_SYNC_LOG");
  ASSERT_NE(log, nullptr) << "run with the sync shim preloaded";
  testing_support::TempDir dir;
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(dir.path(), lister);
  std::remove(log);
  ASSERT_TRUE(files.StartRace(Race("26120601")).ok);
  std::vector<std::string> lines = LogLines(log);
  ASSERT_GE(lines.size(), 2u);
  // The races file's line, then the folder that now holds its entry.
  EXPECT_EQ(lines[lines.size() - 2], "fdatasync " + dir.File("26120600.TXT"));
  EXPECT_EQ(lines.back(), "fsync " + dir.path());
  ASSERT_TRUE(files.FinishRace("fin", {}).ok);

  // A races file that exists already is no new entry.
  std::remove(log);
  ASSERT_TRUE(files.StartRace(Race("26120602")).ok);
  lines = LogLines(log);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "fdatasync " + dir.File("26120600.TXT"));
}

}  // namespace
