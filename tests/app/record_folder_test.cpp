// Where the records go, and one copy of the program per record folder.
#include <QDir>
#include <QStandardPaths>

#include "support/fake_message_boxes.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "app/record_folder.h"
#include <gtest/gtest.h>

namespace {

QStringList Entries(const std::string& folder) {
  return QDir(QString::fromStdString(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(RecordFolder, SecondCopyOnTheSameFolderIsToldAndTouchesNothing) {
  testing_support::TempDir dir;
  testing_support::FakeMessageBoxes boxes;
  const QString folder = QString::fromStdString(dir.path());
  auto first = app::LockRecordFolder(folder, boxes);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(boxes.shown.empty());
  const QStringList before = Entries(dir.path());

  auto second = app::LockRecordFolder(folder, boxes);
  EXPECT_EQ(second, nullptr);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find("TRELVIX ya está abierto"), std::string::npos);
  EXPECT_NE(boxes.shown[0].text.find("TRELVIX is already open"), std::string::npos);
  EXPECT_NE(boxes.shown[0].text.find(dir.path()), std::string::npos);
  EXPECT_EQ(Entries(dir.path()), before);

  // Once the first copy ends, the folder is free again.
  first.reset();
  EXPECT_NE(app::LockRecordFolder(folder, boxes), nullptr);
}

TEST(RecordFolder, ProgramFolderWhenWritableElseTheUsersDataFolder) {
  testing_support::TempDir dir;
  const QString folder = QString::fromStdString(dir.path());
  const QString perUser = QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
  app::RecordFolders chosen = app::ChooseRecordFolders(folder);
  EXPECT_EQ(chosen.records, QDir::cleanPath(folder));
  EXPECT_EQ(chosen.other, perUser);
  EXPECT_FALSE(chosen.programFolderUnwritable);
  EXPECT_TRUE(Entries(dir.path()).isEmpty());  // the write probe leaves nothing

  const QString missing = folder + QStringLiteral("/not-there");
  chosen = app::ChooseRecordFolders(missing);
  EXPECT_EQ(chosen.records, perUser);
  EXPECT_TRUE(QDir(chosen.records).exists());
  EXPECT_EQ(chosen.other, QDir::cleanPath(missing));
  EXPECT_TRUE(chosen.programFolderUnwritable);
}

TEST(RecordFolder, AnInstalledProgramKeepsItsRecordsInTheUsersDataFolder) {
  testing_support::TempDir dir;
  const QString folder = QString::fromStdString(dir.path());
  // Writable, but it is where the package put the program.
  const app::RecordFolders installed = app::ChooseRecordFolders(folder, folder + QStringLiteral("/"));
  EXPECT_EQ(installed.records, QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
  EXPECT_TRUE(installed.other.isEmpty());
  EXPECT_FALSE(installed.programFolderUnwritable);
  EXPECT_EQ(app::ChooseRecordFolder(folder, QStringLiteral("/usr/bin")), QDir::cleanPath(folder));
}

TEST(RecordFolder, CuesBesideTheProgramWinOverTheInstalledOnes) {
  testing_support::TempDir program;
  testing_support::TempDir data;
  const QString programFolder = QString::fromStdString(program.path());
  const QString dataFolder = QString::fromStdString(data.path());
  // None anywhere: beside the program, where the report says they are missing.
  EXPECT_EQ(app::ChooseCueFolder(programFolder, dataFolder), QDir::cleanPath(programFolder));
  data.Write("1.wav", "RIFF");
  EXPECT_EQ(app::ChooseCueFolder(programFolder, dataFolder), QDir::cleanPath(dataFolder));
  // One recording of the user's own beside the program: that folder is used.
  program.Write("fine.wav", "RIFF");
  EXPECT_EQ(app::ChooseCueFolder(programFolder, dataFolder), QDir::cleanPath(programFolder));
}

}  // namespace
