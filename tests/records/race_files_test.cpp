#include "records/race_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/fakes.h"
#include "support/temp_dir.h"

namespace {

records::RaceStartRecord Race7() {
  records::RaceStartRecord r;
  r.nextRaceBase = "26120607";
  r.racesFileName = "26120600.TXT";
  r.description = "Descripción";
  r.startLine = "Carrera 07 (10 minutos 4 coches) iniciada a las 18h5'3\"45";
  r.racesLine = "7\t10\t4\t18h05'03\"045\tDescripción";
  return r;
}

TEST(RaceFiles, WritesWindows1252LinesWithCrLf) {
  testing_support::TempDir dir;
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(dir.path(), lister);
  ASSERT_TRUE(files.StartRace(Race7()).ok);
  // Every line is on disk as soon as the call returns.
  ASSERT_TRUE(files.AppendPass("1\t3\t1\t8,000\t00'08\"000").ok);
  EXPECT_EQ(dir.Read("26120607.pss"), "1\t3\t1\t8,000\t00'08\"000\r\n");
  ASSERT_TRUE(files.AppendEvent("1\t--\t--\t9,000\tMANU\t€uro").ok);
  EXPECT_EQ(dir.Read("26120607.inc"), "1\t--\t--\t9,000\tMANU\t\x80uro\r\n");
  EXPECT_EQ(dir.Read("26120607.cls"),
            "Descripci\xF3n\r\nCarrera 07 (10 minutos 4 coches) iniciada a las 18h5'3\"45\r\n");
  EXPECT_EQ(dir.Read("26120600.TXT"), "7\t10\t4\t18h05'03\"045\tDescripci\xF3n\r\n");

  ASSERT_TRUE(files.FinishRace("Crono común. Carrera terminada normalmente", {"1\t3\t1\t00'08\"000\t0,000"}).ok);
  EXPECT_EQ(dir.Read("26120607.cls"),
            "Descripci\xF3n\r\nCarrera 07 (10 minutos 4 coches) iniciada a las 18h5'3\"45\r\n"
            "Crono com\xFAn. Carrera terminada normalmente\r\n1\t3\t1\t00'08\"000\t0,000\r\n");
  // After the finish the files are closed: nothing more gets in.
  EXPECT_FALSE(files.AppendPass("2\t3\t2\t1,000\t00'09\"000").ok);
}

TEST(RaceFiles, AppendsToTheRacesFileWhateverTheCaseOfItsName) {
  testing_support::TempDir dir;
  dir.Write("26120600.txt", "6\t5\t2\t17h00'00\"000\t\r\n");
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(dir.path(), lister);
  ASSERT_TRUE(files.StartRace(Race7()).ok);
  EXPECT_FALSE(dir.Exists("26120600.TXT"));
  EXPECT_EQ(dir.Read("26120600.txt"), "6\t5\t2\t17h00'00\"000\t\r\n7\t10\t4\t18h05'03\"045\tDescripci\xF3n\r\n");
}

TEST(RaceFiles, AFailedStartLeavesNothingBehind) {
  testing_support::TempDir dir;
  // A folder where the races file should be makes its append fail.
  ASSERT_EQ(::mkdir(dir.File("26120600.TXT").c_str(), 0755), 0);
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(dir.path(), lister);
  const records::IoResult r = files.StartRace(Race7());
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("Is a directory"), std::string::npos) << r.error;
  EXPECT_FALSE(dir.Exists("26120607.pss"));
  EXPECT_FALSE(dir.Exists("26120607.inc"));
  EXPECT_FALSE(dir.Exists("26120607.cls"));
}

TEST(RaceFiles, AJournalThatCannotBeWrittenTakesTheRacesLineBack) {
  for (const std::string before : {"", "6\t5\t2\t17h00'00\"000\t\r\n"}) {
    testing_support::TempDir dir;
    if (!before.empty()) dir.Write("26120600.TXT", before);
    // A folder where the journal should be makes its creation fail.
    ASSERT_EQ(::mkdir(dir.File("26120607.run").c_str(), 0755), 0);
    platform::PosixDirectoryLister lister;
    records::RaceFiles files(dir.path(), lister);
    records::RaceStartRecord race = Race7();
    race.journal = "TRELVIX-RUN 1\nend\n";
    EXPECT_FALSE(files.StartRace(race).ok);
    EXPECT_EQ(dir.Exists("26120600.TXT"), !before.empty());
    EXPECT_EQ(dir.Read("26120600.TXT"), before);
    EXPECT_FALSE(dir.Exists("26120607.cls"));
  }
}

TEST(RaceFiles, AMissingFolderGivesTheSystemsWords) {
  platform::PosixDirectoryLister lister;
  records::RaceFiles files("/nonexistent-trelvix-folder", lister);
  const records::IoResult r = files.StartRace(Race7());
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("No such file or directory"), std::string::npos) << r.error;
}

}  // namespace

#include <sys/resource.h>

#include <csignal>

#include "records/durable_file.h"

namespace {

TEST(DurableFile, ALineThatDoesNotFitIsTakenBackWhole) {
  testing_support::TempDir dir;
  records::DurableFile file;
  ASSERT_TRUE(file.Create(dir.File("x.pss")).ok);
  ASSERT_TRUE(file.Append("1\t3\t1\t8,000\t00'08\"000\r\n").ok);
  // The file may grow by 10 bytes only: the next line is written in part.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 23 + 10;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const records::IoResult r = file.Append("2\t4\t1\t9,000\t00'09\"000\r\n");
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("File too large"), std::string::npos) << r.error;
  EXPECT_EQ(dir.Read("x.pss"), "1\t3\t1\t8,000\t00'08\"000\r\n");
  ASSERT_TRUE(file.Append("3\t5\t1\t9,500\t00'09\"500\r\n").ok);
  EXPECT_EQ(dir.Read("x.pss"), "1\t3\t1\t8,000\t00'08\"000\r\n3\t5\t1\t9,500\t00'09\"500\r\n");
}

}  // namespace
