// The files browser's buttons that lead elsewhere: the events review, the
// print setup, the three printed reports, the charts and the export.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "exports/race_export.h"
#include "printing/print_setup_window.h"
#include "printing/printer_settings.h"
#include "records/naming.h"
#include "ui/charts_window.h"
#include "ui/events_review_window.h"
#include "ui/files_browser.h"
#include "ui/record_grid.h"
#include "ui/widgets.h"

namespace ui {

void TForm2::EventsButtonClick() {
  const std::string found = eventsFileName_.empty() ? std::string() : FindFile(eventsFileName_);
  if (found.empty()) {
    services_.boxes.Info(printing::kMessageCaption, spanish_ ? "No existe el correspondiente fichero de incidencias"
                                                             : "Corresponding events file not found");
    return;
  }
  if (form3_ == nullptr) return;
  EventsReviewRequest request;
  request.spanish = spanish_;
  request.eventsFileName = eventsFileName_;
  request.path = records::JoinPath(services_.recordFolder, found);
  request.day = chosenDay_;
  request.description = descriptionValue_->text().toStdString();
  request.details = detailsValue_->text().toStdString();
  form3_->ShowModal(std::move(request));
  eventsButton_->setFocus();
}

void TForm2::PrinterButtonClick() {
  if (form8_ != nullptr) form8_->ShowModal(spanish_);
}

void TForm2::PrintClassification() { PrintGrid(classificationGrid_, spanish_ ? "Clasificación" : "Classification"); }

void TForm2::PrintPasses() {
  const QString caption = byCar_ ? byCarItem_->text() : byPass_->text();
  PrintGrid(passesGrid_, (spanish_ ? "Pasos " : "Passes ") + printing::LowerAsciiLetters(caption.toStdString()));
}

void TForm2::PrintRaces() { PrintGrid(racesGrid_, spanish_ ? "Carreras" : "Races"); }

void TForm2::PrintGrid(const QTableWidget* grid, std::string title) {
  printing::Report report;
  report.day = chosenDay_;
  report.description = descriptionValue_->text().toStdString();
  report.details = detailsValue_->text().toStdString();
  report.title = std::move(title);
  report.headings = GridHeadings(grid);
  report.rows = GridRows(grid);
  services_.printer.Print(report, spanish_);
}

std::optional<records::RaceId> TForm2::ChosenRace() const { return records::RaceId::Of(racesDay_, chosenRace_); }

void TForm2::ChartsButtonClick() {
  const auto race = ChosenRace();
  if (!race) {
    services_.boxes.Info(printing::kMessageCaption, spanish_ ? "Elige antes una carrera" : "Choose a race first");
    return;
  }
  const results::LoadedRace loaded = results::LoadRace(services_.lister, services_.recordFolder, *race);
  if (loaded.failure != results::LoadFailure::None) {
    services_.boxes.Info(printing::kMessageCaption, results::FailureText(loaded, spanish_));
    return;
  }
  if (charts_ != nullptr) charts_->ShowModal(loaded.sheet, spanish_);
}

void TForm2::ExportButtonClick() {
  const auto race = ChosenRace();
  if (!race) {
    services_.boxes.Info(printing::kMessageCaption, spanish_ ? "Elige antes una carrera" : "Choose a race first");
    return;
  }
  if (services_.dialogs == nullptr) return;
  const auto folder = services_.dialogs->FolderName(
      this, spanish_ ? QStringLiteral("Exportar a la carpeta") : QStringLiteral("Export into the folder"));
  if (!folder) return;
  const exports::ExportResult result =
      exports::ExportRace(services_.lister, services_.recordFolder, *race, *folder, spanish_);
  const std::string name = race->Text();
  std::string text;
  if (result.ok) {
    const std::string count = std::to_string(result.written.size());
    text = spanish_ ? "Carrera " + name + " exportada a " + folder->toStdString() + ":\r" + count +
                          " ficheros (CSV, hoja de cálculo, HTML, PDF e imágenes)."
                    : "Race " + name + " exported to " + folder->toStdString() + ":\r" + count +
                          " files (CSV, spreadsheet, HTML, PDF and pictures).";
  } else {
    text = (spanish_ ? "No se pudo exportar la carrera " + name + ":\r" : "Race " + name + " could not be exported:\r") +
           result.error;
  }
  // What the export leaves out, a few reasons at most: the page lists them all.
  constexpr std::size_t kShown = 4;
  for (std::size_t i = 0; i < result.warnings.size() && i < kShown; ++i) text += "\r" + result.warnings[i];
  if (result.warnings.size() > kShown) text += "\r…";
  services_.boxes.Info(printing::kMessageCaption, text);
}

}  // namespace ui
