#include "platform/directory.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace {

TEST(WildcardMatch, MatchesDosPatternsWithoutRegardToCase) {
  EXPECT_TRUE(platform::WildcardMatch("261206??.*", "26120601.pss"));
  EXPECT_TRUE(platform::WildcardMatch("261206??.*", "26120600.TXT"));
  EXPECT_TRUE(platform::WildcardMatch("??????00.TXT", "26120600.txt"));
  EXPECT_TRUE(platform::WildcardMatch("261206??.*", "261206ab.x.bak"));
  EXPECT_FALSE(platform::WildcardMatch("261206??.*", "2612060.pss"));
  EXPECT_FALSE(platform::WildcardMatch("261206??.*", "26120601pss"));
  EXPECT_FALSE(platform::WildcardMatch("261206??.*", "26120701.pss"));
  EXPECT_TRUE(platform::WildcardMatch("*", ""));
  EXPECT_FALSE(platform::WildcardMatch("?", ""));
}

TEST(WildcardMatch, StaysFastOnHostileNames) {
  const std::string name(20000, 'a');
  EXPECT_FALSE(platform::WildcardMatch("*a*a*a*a*a*a*b", name));
}

TEST(PosixDirectoryLister, ListsEntriesAndFiltersByPattern) {
  testing_support::TempDir dir;
  dir.Write("26120601.pss", "");
  dir.Write("26120600.TXT", "");
  dir.Write("notes.txt", "");
  platform::PosixDirectoryLister lister;
  EXPECT_EQ(lister.List(dir.path()).size(), 3u);
  auto matching = platform::ListMatching(lister, dir.path(), "261206??.*");
  EXPECT_EQ(matching.size(), 2u);
  EXPECT_TRUE(lister.List(dir.path() + "/missing").empty());
}

}  // namespace
