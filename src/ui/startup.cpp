// The start-up steps: timing, window place, the day's record numbering, the
// sound check and the report the operator reads before the first race.
#include <QCheckBox>
#include <QDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "race/sound_cues.h"
#include "records/naming.h"
#include "records/unfinished_race.h"
#include "ui/main_window.h"
#include "ui/startup.h"

namespace ui {

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

void TForm1::FormActivate() {
  if (startedUp_) return;
  startedUp_ = true;

  // Without a performance counter no lap can be timed.
  if (!race_.InitTiming()) {
    services_.boxes.Info(kAppTitle, "Error de temporización\rTiming error");
    if (quit_) quit_(1);
    return;
  }

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    // The primary screen need not start at 0,0: beside a public monitor on
    // its left it starts at that monitor's width.
    const QRect area = screen->geometry();
    move(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - height() / 2);
  }
  ApplyLanguage(true);
  timer1_->start();

  const QString folder = QString::fromStdString(services_.recordFolder);
  if (!QDir::setCurrent(folder)) {
    services_.boxes.Info(kAppTitle, std::strerror(errno));
    return;
  }

  bool limitReached = false;
  const std::string report = StartUpReport(limitReached);
  services_.boxes.Info(kAppTitle, limitReached ? std::string(records::kRaceLimitMessage) : report);
  if (services_.programFolderUnwritable) {
    const std::string note = UnwritableFolderNote(services_.lister, services_.otherRecordFolder,
                                                  services_.recordFolder, services_.clock.Now());
    if (!note.empty()) services_.boxes.Info(kAppTitle, note);
  }
  OfferToResume();
  if (afterStartUp_) afterStartUp_();
}

void TForm1::OfferToResume() {
  // A kill in a finish can leave the journal of a race that is complete.
  records::RemoveFinishedJournals(services_.lister, services_.recordFolder);
  const auto unfinished =
      records::FindUnfinishedRace(services_.lister, services_.recordFolder, services_.clock.Now());
  if (!unfinished) return;
  const records::RaceId race = unfinished->Id();
  const std::string number = race.NumberText();
  const std::string& day = race.day();
  if (!services_.boxes.Confirm(kAppTitle, std::string("La carrera ") + number + " de " + day +
                                              " quedó sin terminar. ¿Continuarla?\r\rRace " + number + " of " +
                                              day + " was left unfinished. Continue it?")) {
    return;
  }
  const auto outcome = race_.ResumeRace(*unfinished);
  ApplyLanguage(race_.spanish());
  if (outcome == race::RaceControl::ResumeOutcome::kClockEstimated) {
    services_.boxes.Info(kAppTitle, std::string("La hora del equipo no cuadra con el inicio de la carrera ") + number +
                                        ": sigue desde su último paso registrado, sin contar el tiempo que el "
                                        "programa no corrió. Revisa la hora del equipo.\r\rThe machine's clock "
                                        "does not agree with the start of race " +
                                        number + ": it goes on from its last recorded pass, without the time the "
                                                 "program was down. Check the machine's clock.");
  } else if (outcome == race::RaceControl::ResumeOutcome::kFinished) {
    services_.boxes.Info(kAppTitle, std::string("La carrera ") + number +
                                        " agotó su tiempo mientras el programa no corría: queda terminada con lo "
                                        "registrado.\r\rRace " +
                                        number + " ran out of time while the program was down: it is finished "
                                                 "with what was recorded.");
  }
}

std::string TForm1::StartUpReport(bool& limitReached) {
  std::string report = "Directorio: " + services_.recordFolder;
  auto add = [&report](const std::string& line) { report += "\r" + line; };

  // No second race of the same number today in the other record folder.
  const platform::LocalDateTime now = services_.clock.Now();
  const int elsewhere = services_.otherRecordFolder.empty()
                            ? 0
                            : records::NumberDay(now, services_.lister.List(services_.otherRecordFolder)).highest;
  const records::DayNumbering day = records::NumberDay(now, services_.lister.List(services_.recordFolder), elsewhere);
  const std::vector<std::string> dayLines = records::NumberingReportLines(day);
  for (const auto& line : dayLines) add(line);
  limitReached = day.limitReached;
  if (limitReached) return report;
  race_.SetNumbering(day.dayBase, day.raceNumber);

  const race::SoundCheck sound = race::CheckSound(services_.sound);
  for (const auto& line : sound.ReportLines()) add(line);
  race_.Setup().SetSoundBoxEnabled(sound.SoundBoxEnabled());
  checkBox13_->setEnabled(sound.SoundBoxEnabled());

  add("Precisión: " + std::to_string(race_.Timing().Frequency()));
  add("");
  add("Cuadrado amarillo cambia idioma.");
  add("Yellow square changes language.");
  return report;
}

}  // namespace ui
