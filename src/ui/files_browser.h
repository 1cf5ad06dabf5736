#pragma once
// TForm2, "Ficheros": the files browser. It lists the days of the record
// folder and the races of the chosen day, shows a race's description,
// classification and passes, opens the events review and the print setup,
// and prints the classification, the passes and the races. It only reads
// the record files.

#include <QDialog>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/directory.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"
#include "records/pass_order.h"
#include "records/race_id.h"
#include "records/readers.h"
#include "records/words.h"
#include "ui/report_printer.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace meeting {
class MeetingStore;
}

namespace printing {
class TForm8;
}

namespace ui {

class TForm3;
class ChartsWindow;
class CorrectionsWindow;

struct FilesBrowserServices {
  platform::DirectoryLister& lister;
  platform::MessageBoxes& boxes;
  ReportPrinter& printer;
  std::string recordFolder;  // the main window's record folder
  platform::FileDialogs* dialogs = nullptr;  // the export's folder; without it there is no export
  // The club meetings: a heat's race shows its drivers in the charts, the
  // exports and the printed classification and passes. Without it, none.
  meeting::MeetingStore* meetings = nullptr;
};

class TForm2 final : public QDialog {
 public:
  explicit TForm2(const FilesBrowserServices& services, QWidget* parent = nullptr);

  // The windows it opens; either may be left unset.
  void SetEventsReview(TForm3* form3) { form3_ = form3; }
  void SetPrintSetup(printing::TForm8* form8) { form8_ = form8; }
  void SetChartsWindow(ChartsWindow* charts) { charts_ = charts; }
  void SetCorrectionsWindow(CorrectionsWindow* corrections) { corrections_ = corrections; }

  // Sets the language and the next file name of the next opening; the
  // opening itself runs when the window is shown.
  void Prepare(bool spanish, std::string nextRaceBase);
  // Prepare, then show modally.
  int ShowModal(bool spanish, std::string nextRaceBase);

  // The opening: texts, the day list, empty grids, then the latest day.
  void FormShow();
  // Picks day `index` of the day list and loads its last race.
  void ChooseDay(int index);
  // Picks row `row` of the races grid (0 is the first race) and loads it.
  void ChooseRace(int row);
  // The order choice: by pass (false) or by car (true).
  void ChooseOrder(bool byCar);
  // "Incidencias": the events review when the race's events file exists.
  void EventsButtonClick();
  // "Impresora": the print setup window.
  void PrinterButtonClick();
  void PrintClassification();
  void PrintPasses();
  void PrintRaces();
  // "Gráficos": the charts of the chosen race.
  void ChartsButtonClick();
  // "Exportar": every export format of the chosen race into a chosen folder.
  void ExportButtonClick();
  // "Corregir": the corrections window of the chosen race, then the race again.
  void CorrectButtonClick();

  const std::string& EventsFileName() const noexcept { return eventsFileName_; }
  const std::string& ChosenDay() const noexcept { return chosenDay_; }
  // The race now shown, e.g. 26120601; nothing when none is.
  std::optional<records::RaceId> ChosenRace() const;
  const std::vector<records::TPaso>& Passes() const noexcept { return passes_.items(); }

  static constexpr int kWidth = 628;
  // The passes grid's title: "Pasos: " and how many.
  static constexpr records::Words kPassesCount{"Pasos: ", "Passes: "};
  static constexpr int kHeight = 433;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildControls();
  void SetTexts();
  void LoadRace(int raceNumber);
  bool LoadClassification(const std::string& fileName);
  bool LoadPasses(const std::string& fileName);
  void ShowPasses();
  void ShowOrderChoice();
  void SizeGrid(QTableWidget* grid, int rows, bool passesGrid);
  std::string FindFile(const std::string& name) const;
  bool ReadFile(const std::string& fileName, std::string& bytes) const;
  void ShowMessages(const std::vector<std::string>& messages);
  void PrintGrid(const QTableWidget* grid, std::string title, const std::map<int, std::string>& drivers = {});
  // The drivers of the chosen race when it ran a meeting heat, by car.
  std::map<int, std::string> DriversOfChosenRace() const;

  FilesBrowserServices services_;
  TForm3* form3_ = nullptr;
  printing::TForm8* form8_ = nullptr;
  ChartsWindow* charts_ = nullptr;
  CorrectionsWindow* corrections_ = nullptr;
  int chosenRace_ = 0;  // the race loaded from racesDay_, 0 for none
  bool spanish_ = true;
  std::string nextRaceBase_;
  bool byCar_ = false;  // kept from one opening to the next

  std::vector<std::string> days_;
  std::string chosenDay_;
  records::ReadResult<records::TRace> races_;
  std::string racesDay_;  // the day whose races the races grid shows
  records::PassesList passes_;
  std::string passesFile_;  // the passes file now shown
  std::string eventsFileName_;
  bool filling_ = false;  // the window, not the operator, is changing a choice

  QLabel* descriptionLabel_ = nullptr;
  QLabel* descriptionValue_ = nullptr;
  QLabel* detailsLabel_ = nullptr;
  QLabel* detailsValue_ = nullptr;
  QLabel* classificationTitle_ = nullptr;
  QPushButton* printClassification_ = nullptr;
  QTableWidget* classificationGrid_ = nullptr;
  QLabel* nextFileLabel_ = nullptr;
  QLabel* nextFileValue_ = nullptr;
  QLabel* passesTitle_ = nullptr;
  QPushButton* printPasses_ = nullptr;
  QGroupBox* orderChoice_ = nullptr;
  QRadioButton* byPass_ = nullptr;
  QRadioButton* byCarItem_ = nullptr;
  QPushButton* eventsButton_ = nullptr;
  QPushButton* printerButton_ = nullptr;
  QPushButton* chartsButton_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QPushButton* correctButton_ = nullptr;
  QTableWidget* passesGrid_ = nullptr;
  QLabel* daysTitle_ = nullptr;
  QListWidget* dayList_ = nullptr;
  QLabel* racesTitle_ = nullptr;
  QPushButton* printRaces_ = nullptr;
  QTableWidget* racesGrid_ = nullptr;
};

}  // namespace ui
