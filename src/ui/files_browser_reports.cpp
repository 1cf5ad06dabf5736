// The files browser's buttons that lead elsewhere: the events review, the
// print setup, the three printed reports, the charts and the export.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "exports/race_export.h"
#include "meeting/store.h"
#include "printing/print_setup_window.h"
#include "printing/printer_settings.h"
#include "records/naming.h"
#include "ui/charts_window.h"
#include "ui/corrections_window.h"
#include "ui/events_review_window.h"
#include "ui/files_browser.h"
#include "ui/record_grid.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr Words kNoEventsFile{"No existe el correspondiente fichero de incidencias", "Corresponding events file not found"};
constexpr Words kClassification{"Clasificación", "Classification"};
constexpr Words kPasses{"Pasos ", "Passes "};
constexpr Words kRaces{"Carreras", "Races"};
constexpr Words kChooseARace{"Elige antes una carrera", "Choose a race first"};
constexpr Words kExportInto{"Exportar a la carpeta", "Export into the folder"};
constexpr Words kExported{"Carrera %1 exportada a %2:\r%3 ficheros (CSV, hoja de cálculo, HTML, PDF e imágenes).",
                          "Race %1 exported to %2:\r%3 files (CSV, spreadsheet, HTML, PDF and pictures)."};
constexpr Words kNotExported{"No se pudo exportar la carrera %1:\r", "Race %1 could not be exported:\r"};
constexpr Words kDriver{"Piloto", "Driver"};

// The classification's and the passes' grids show the car second.
constexpr std::size_t kCarColumn = 1;

// A heat's printed report names each car's driver in a last column, so the
// tab-aligned columns before it stay where they always were.
void AddDriverColumn(printing::Report& report, const std::map<int, std::string>& drivers, bool spanish) {
  if (drivers.empty()) return;
  report.headings.emplace_back(kDriver.Pick(spanish));
  for (auto& row : report.rows) {
    std::string name;
    if (row.size() > kCarColumn) {
      const std::string& car = row[kCarColumn];
      const auto digits = car.find_first_not_of(' ');
      if (digits != std::string::npos && car.find_first_not_of("0123456789", digits) == std::string::npos &&
          car.size() - digits <= 3) {
        if (const auto it = drivers.find(std::stoi(car.substr(digits))); it != drivers.end()) name = it->second;
      }
    }
    row.push_back(std::move(name));
  }
}

}  // namespace

void TForm2::EventsButtonClick() {
  const std::string found = eventsFileName_.empty() ? std::string() : FindFile(eventsFileName_);
  if (found.empty()) {
    services_.boxes.Info(printing::kMessageCaption, kNoEventsFile.Pick(spanish_));
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

void TForm2::PrintClassification() {
  PrintGrid(classificationGrid_, kClassification.Pick(spanish_), DriversOfChosenRace());
}

void TForm2::PrintPasses() {
  const QString caption = byCar_ ? byCarItem_->text() : byPass_->text();
  PrintGrid(passesGrid_, kPasses.Pick(spanish_) + printing::LowerAsciiLetters(caption.toStdString()),
            DriversOfChosenRace());
}

void TForm2::PrintRaces() { PrintGrid(racesGrid_, kRaces.Pick(spanish_)); }

void TForm2::PrintGrid(const QTableWidget* grid, std::string title, const std::map<int, std::string>& drivers) {
  printing::Report report;
  report.day = chosenDay_;
  report.description = descriptionValue_->text().toStdString();
  report.details = detailsValue_->text().toStdString();
  report.title = std::move(title);
  report.headings = GridHeadings(grid);
  report.rows = GridRows(grid);
  AddDriverColumn(report, drivers, spanish_);
  services_.printer.Print(report, spanish_);
}

std::optional<records::RaceId> TForm2::ChosenRace() const { return records::RaceId::Of(racesDay_, chosenRace_); }

std::map<int, std::string> TForm2::DriversOfChosenRace() const {
  const auto race = ChosenRace();
  if (!race || services_.meetings == nullptr) return {};
  return meeting::DriverNamesOfRace(*services_.meetings, race->Text());
}

void TForm2::CorrectButtonClick() {
  const auto race = ChosenRace();
  if (!race) {
    services_.boxes.Info(printing::kMessageCaption, kChooseARace.Pick(spanish_));
    return;
  }
  if (corrections_ == nullptr) return;
  corrections_->ShowModal(*race, spanish_, nextRaceBase_.substr(0, 6));
  // The classification as the corrections left it.
  LoadRace(race->number());
}

void TForm2::ChartsButtonClick() {
  const auto race = ChosenRace();
  if (!race) {
    services_.boxes.Info(printing::kMessageCaption, kChooseARace.Pick(spanish_));
    return;
  }
  results::LoadedRace loaded = results::LoadRace(services_.lister, services_.recordFolder, *race);
  if (loaded.failure != results::LoadFailure::None) {
    services_.boxes.Info(printing::kMessageCaption, results::FailureText(loaded, spanish_));
    return;
  }
  loaded.sheet.drivers = DriversOfChosenRace();
  if (charts_ != nullptr) charts_->ShowModal(loaded.sheet, spanish_);
}

void TForm2::ExportButtonClick() {
  const auto race = ChosenRace();
  if (!race) {
    services_.boxes.Info(printing::kMessageCaption, kChooseARace.Pick(spanish_));
    return;
  }
  if (services_.dialogs == nullptr) return;
  const auto folder = services_.dialogs->FolderName(
      this, Tr(kExportInto, spanish_));
  if (!folder) return;
  const exports::ExportResult result =
      exports::ExportRace(services_.lister, services_.recordFolder, *race, *folder, spanish_, DriversOfChosenRace());
  const std::string name = race->Text();
  std::string text;
  if (result.ok) {
    const std::string count = std::to_string(result.written.size());
    text = records::Filled(kExported.Pick(spanish_), name, folder->toStdString(), count);
  } else {
    text = records::Filled(kNotExported.Pick(spanish_), name) + result.error;
  }
  // What the export leaves out, a few reasons at most: the page lists them all.
  constexpr std::size_t kShown = 4;
  for (std::size_t i = 0; i < result.warnings.size() && i < kShown; ++i) text += "\r" + result.warnings[i];
  if (result.warnings.size() > kShown) text += "\r…";
  services_.boxes.Info(printing::kMessageCaption, text);
}

}  // namespace ui
