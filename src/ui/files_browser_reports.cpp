// The files browser's buttons that lead elsewhere: the events review, the
// print setup and the three printed reports.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "printing/print_setup_window.h"
#include "printing/printer_settings.h"
#include "records/naming.h"
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

}  // namespace ui
