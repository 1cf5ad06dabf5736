#pragma once
// Where this copy of the program keeps its record files, and the lock that
// keeps a second copy from numbering the same races.

#include <QLockFile>
#include <QString>
#include <memory>

#include "platform/message_boxes.h"

namespace ui {

// The program's own folder when it can be written (a copy carried on a
// stick keeps its records beside it), else the per-user data folder.
QString ChooseRecordFolder(const QString& programFolder);

// Locks the record folder for this copy. When another copy holds it, the
// operator is told so and nothing is returned; no file is touched then.
std::unique_ptr<QLockFile> LockRecordFolder(const QString& folder, platform::MessageBoxes& boxes);

// The lock file's name inside the record folder.
inline constexpr const char* kLockFileName = ".trelvix.lock";

}  // namespace ui
