#include "ui/record_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>

#include "race/sound_cues.h"
#include "records/naming.h"
#include "records/unfinished_race.h"
#include "ui/main_window.h"

namespace ui {

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

std::string UnwritableFolderNote(platform::DirectoryLister& lister, const std::string& programFolder,
                                 const std::string& recordFolder, const platform::LocalDateTime& now) {
  const auto unfinished = records::FindUnfinishedRace(lister, programFolder, now);
  std::string es, en, esThen, enThen;
  if (unfinished) {
    const records::RaceId race = unfinished->Id();
    const std::string number = race.NumberText();
    const std::string& day = race.day();
    es = std::string("y en ella quedó sin terminar la carrera ") + number + " de " + day + ".";
    en = std::string("and race ") + number + " of " + day + " was left unfinished there.";
    esThen = "Para continuar esa carrera, arregla los permisos de la carpeta y abre el programa otra vez.";
    enThen = "To continue that race, fix the folder's permissions and start the program again.";
  } else if (records::NumberDay(now, lister.List(programFolder)).dayFileCount > 0) {
    es = "y en ella hay carreras de hoy.";
    en = "and it holds races of today.";
    esThen = "Para volver a guardar en ella, arregla sus permisos y abre el programa otra vez.";
    enThen = "To keep races there again, fix its permissions and start the program again.";
  } else {
    return {};
  }
  return "No se puede escribir en la carpeta del programa:\r" + programFolder + "\r" + es +
         "\rLas carreras nuevas se guardan en:\r" + recordFolder +
         "\ry siguen la numeración de hoy de las dos carpetas.\r" + esThen +
         "\r\rThe program's folder cannot be written:\r" + programFolder + "\r" + en +
         "\rNew races are kept in:\r" + recordFolder + "\rand numbered on from today's races in both folders.\r" +
         enThen;
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
  boxes.Info(kAppTitle,
             "TRELVIX ya está abierto con esta carpeta de carreras:\r" + where +
                 "\rCierra esa copia antes de abrir otra.\r\r"
                 "TRELVIX is already open on this race folder:\r" +
                 where + "\rClose that copy before opening another one.");
  return nullptr;
}

}  // namespace ui
