#pragma once
// Where this copy of the program keeps its record files, and the lock that
// keeps a second copy from numbering the same races.

#include <QLockFile>
#include <QString>
#include <memory>

#include "platform/message_boxes.h"

namespace app {

// The two folders a copy of the program keeps records in.
struct RecordFolders {
  QString records;  // this run's
  // The other one, whose races of the day the numbering goes on after: the
  // per-user folder, or the program's own when it could not be written.
  // Empty for the installed program.
  QString other;
  bool programFolderUnwritable = false;
};

// The program's own folder when it can be written (a copy carried on a
// stick keeps its records beside it), else the per-user data folder. A
// program run from the folder it is installed in (`installedFolder`, e.g.
// /usr/bin) always keeps its records in the per-user data folder.
RecordFolders ChooseRecordFolders(const QString& programFolder, const QString& installedFolder = QString());
QString ChooseRecordFolder(const QString& programFolder, const QString& installedFolder = QString());

// The folder of the sound cues: the program's own when any cue file is
// there (recordings put beside the program), else `dataFolder` when it
// holds cues (the installed defaults), else the program's own.
QString ChooseCueFolder(const QString& programFolder, const QString& dataFolder);

// Locks the record folder for this copy. When another copy holds it, the
// operator is told so and nothing is returned; no file is touched then.
std::unique_ptr<QLockFile> LockRecordFolder(const QString& folder, platform::MessageBoxes& boxes);

// The lock file's name inside the record folder.
inline constexpr const char* kLockFileName = ".trelvix.lock";

}  // namespace app
