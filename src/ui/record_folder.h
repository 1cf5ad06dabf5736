#pragma once
// Where this copy of the program keeps its record files, and the lock that
// keeps a second copy from numbering the same races.

#include <QLockFile>
#include <QString>
#include <memory>

#include "platform/message_boxes.h"

namespace ui {

// The program's own folder when it can be written (a copy carried on a
// stick keeps its records beside it), else the per-user data folder. A
// program run from the folder it is installed in (`installedFolder`, e.g.
// /usr/bin) always keeps its records in the per-user data folder.
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

}  // namespace ui
