#pragma once
// trelvix --import-drivers FILE.csv [--from FOLDER] [--lang es|en]: reads a
// roster file into the meeting store of the record folder, whole or not at
// all, with no window and no display needed.

#include <QString>
#include <QStringList>

namespace app {

// Prints each driver added or changed and each row refused on standard
// output, the reason nothing was imported on standard error. The exit
// code: 0 imported, 1 nothing imported, 2 bad usage.
int RunImport(const QStringList& arguments, const QString& recordFolder);

}  // namespace app
