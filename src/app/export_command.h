#pragma once
// trelvix --export YYMMDDnn --to DIR [--from FOLDER] [--lang es|en]: writes
// every export format of a past race and exits, with no window and no
// display needed.

#include <QStringList>
#include <QString>

namespace app {

// Runs the export, prints each file written on standard output and any
// problem on standard error; the exit code: 0 done, 1 failed, 2 bad usage.
int RunExport(const QStringList& arguments, const QString& recordFolder);

// trelvix --export-meeting ID --to DIR [--from FOLDER] [--lang es|en]
// [--best N]: a club meeting's heat sheet, results and championship, the
// same way, read from the meetings database of the record folder.
int RunMeetingExport(const QStringList& arguments, const QString& recordFolder);

}  // namespace app
