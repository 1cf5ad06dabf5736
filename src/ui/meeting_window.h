#pragma once
// The meeting window ("Reunión" / "Meeting"): the club's roster, a
// meeting's settings, its heats in order (heat × car → driver) and its
// standings, and the season of a class. "Preparar" / "Prepare" puts the
// next heat into the main window's setup panel; the director starts it
// with "Inicio" as any race. Opened between races only, modally, like the
// files browser, so the keys of a race always reach the main window.

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "meeting/driver.h"
#include "meeting/heat.h"
#include "meeting/meeting.h"
#include "meeting/sheets.h"
#include "meeting/store.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"
#include "race/setup.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace ui {

class MeetingLink;
class ReportPrinter;

struct MeetingWindowServices {
  meeting::MeetingStore& store;
  platform::MessageBoxes& boxes;
  platform::FileDialogs& dialogs;
  MeetingLink& link;
  // The setup panel's race as it stands, and the panel made to show another.
  std::function<race::RaceSetup()> currentSetup;
  std::function<void(const race::RaceSetup&)> showSetup;
  // Where the heat sheet, the results and the championship are printed.
  ReportPrinter* printer = nullptr;
};

class MeetingWindow final : public QDialog {
 public:
  explicit MeetingWindow(const MeetingWindowServices& services, QWidget* parent = nullptr);

  int ShowModal(bool spanish);
  // Reads the store and shows everything in the language; what ShowModal does first.
  void Prepare(bool spanish);

  // "Preparar" / "Prepare": the selected heat, else the first without a
  // result. False (and said) when there is none or the store failed.
  bool PrepareHeat();
  // Reads a roster file and, once the director agrees, applies it whole.
  void ImportRoster(const QString& file);
  // The roster as CSV for a spreadsheet: UTF-8 with its mark, ';', no formulas.
  bool ExportRoster(const QString& file);

  // "Imprimir" / "Print" on the heats, standings and season tabs: the
  // heat sheet (a line per car, to fit a portrait page), the meeting's
  // results and the championship as their tabs show them.
  void PrintHeatSheet();
  void PrintResults();
  void PrintChampionship();
  // "Exportar reunión" / "Export meeting": every format into a folder.
  void ExportMeetingClick();

  meeting::MeetingId currentMeeting() const noexcept { return current_; }
  void SelectMeeting(meeting::MeetingId id);
  QTableWidget* heatsGrid() const noexcept { return heatsGrid_; }
  QTableWidget* standingsGrid() const noexcept { return standings_; }
  QTableWidget* rosterGrid() const noexcept { return rosterGrid_; }

 private:
  void Build();
  void ApplyLanguage();
  bool Reload();
  void ShowRoster();
  void ShowMeetingList();
  void LoadMeeting(meeting::MeetingId id);
  void ShowMeetingEditor(const meeting::Meeting& m);
  void ShowHeats();
  void ShowStandings();
  void ShowSeason();
  void EditDriver(int row);
  void SaveDriverClick();
  void NewMeetingClick();
  void SaveMeetingClick();
  void ImportClick();
  void ExportClick();
  void FormatChanged();
  std::optional<meeting::Meeting> MeetingFromEditor();
  // The current meeting as the store gave it; nothing when none is chosen.
  std::optional<meeting::MeetingBook> Book() const;
  std::optional<results::Table> ChampionshipTable();
  void Print(const results::Table& table, const std::string& title);
  void Say(const std::string& text);
  void StoreFailed();

  MeetingWindowServices services_;
  bool spanish_ = true;
  std::vector<meeting::Driver> roster_;
  std::vector<meeting::Meeting> meetings_;
  meeting::MeetingId current_ = 0;
  std::vector<meeting::StoredHeat> heats_;
  std::vector<meeting::HeatResult> results_;
  int heatCount_ = 0;  // of the outline
  meeting::DriverId editing_ = 0;

  QTabWidget* tabs_ = nullptr;
  // Drivers.
  QTableWidget* rosterGrid_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* shortName_ = nullptr;
  QLineEdit* number_ = nullptr;
  QLineEdit* className_ = nullptr;
  QCheckBox* active_ = nullptr;
  QPushButton* newDriver_ = nullptr;
  QPushButton* printSheet_ = nullptr;
  QPushButton* exportMeeting_ = nullptr;
  QPushButton* printResults_ = nullptr;
  QPushButton* printSeason_ = nullptr;
  QPushButton* saveDriver_ = nullptr;
  QPushButton* import_ = nullptr;
  QPushButton* export_ = nullptr;
  // Meeting.
  QListWidget* meetingList_ = nullptr;
  QPushButton* newMeeting_ = nullptr;
  QDateEdit* date_ = nullptr;
  QLineEdit* meetingName_ = nullptr;
  QLineEdit* meetingClass_ = nullptr;
  QListWidget* entrants_ = nullptr;
  QComboBox* format_ = nullptr;
  QSpinBox* lanes_ = nullptr;
  QSpinBox* stint_ = nullptr;
  QSpinBox* rounds_ = nullptr;
  QSpinBox* roundMinutes_ = nullptr;
  QSpinBox* groupSize_ = nullptr;
  QComboBox* firstRound_ = nullptr;
  QComboBox* ranking_ = nullptr;
  QCheckBox* individual_ = nullptr;
  QSpinBox* finalSize_ = nullptr;
  QSpinBox* bumpUp_ = nullptr;
  QSpinBox* finalMinutes_ = nullptr;
  QLineEdit* points_ = nullptr;
  QPushButton* saveMeeting_ = nullptr;
  std::vector<QLabel*> captions_;  // of the editor, in the order of kCaptions
  // Heats and standings.
  QTableWidget* heatsGrid_ = nullptr;
  QPushButton* prepare_ = nullptr;
  QTableWidget* standings_ = nullptr;
  QSpinBox* bestOf_ = nullptr;
  QTableWidget* season_ = nullptr;
  QLabel* seasonTitle_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace ui
