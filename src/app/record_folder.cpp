#include "app/record_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "race/sound_cues.h"

namespace app {

namespace {

// Writable in fact, not only by its permission bits.
bool CanWriteIn(const QString& folder) {
  QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".trelvix-probe-XXXXXX")));
  return probe.open();
}


bool HoldsCues(const QString& folder) {
  const QDir dir(folder);
  for (const std::string& name : race::AllCueFiles()) {
    if (dir.exists(QString::fromStdString(name))) return true;
  }
  return false;
}

}  // namespace

RecordFolders ChooseRecordFolders(const QString& programFolder, const QString& installedFolder) {
  const bool installed = !installedFolder.isEmpty() && QDir(programFolder) == QDir(installedFolder);
  const QString perUser = QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
  if (!installed && CanWriteIn(programFolder)) return {QDir::cleanPath(programFolder), perUser, false};
  QDir().mkpath(perUser);
  if (installed) return {perUser, QString(), false};
  return {perUser, QDir::cleanPath(programFolder), true};
}

QString ChooseRecordFolder(const QString& programFolder, const QString& installedFolder) {
  return ChooseRecordFolders(programFolder, installedFolder).records;
}

QString ChooseCueFolder(const QString& programFolder, const QString& dataFolder) {
  if (!HoldsCues(programFolder) && !dataFolder.isEmpty() && HoldsCues(dataFolder)) return QDir::cleanPath(dataFolder);
  return QDir::cleanPath(programFolder);
}

std::unique_ptr<QLockFile> LockRecordFolder(const QString& folder, platform::MessageBoxes& boxes) {
  auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(QString::fromLatin1(kLockFileName)));
  // A lock left by a copy that died is taken over; a living copy keeps it.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0)) return lock;
  const std::string where = QDir::toNativeSeparators(folder).toStdString();
  boxes.Info(platform::kProgramTitle,
             "TRELVIX ya está abierto con esta carpeta de carreras:\r" + where +
                 "\rCierra esa copia antes de abrir otra.\r\r"
                 "TRELVIX is already open on this race folder:\r" +
                 where + "\rClose that copy before opening another one.");
  return nullptr;
}

}  // namespace app
