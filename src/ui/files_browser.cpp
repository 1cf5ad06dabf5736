// The files browser: building its controls and following the operator's
// choices of day, race and order.
#include "ui/files_browser.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTableWidget>

#include "records/browser_model.h"
#include "records/naming.h"
#include "ui/record_grid.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr int kClassificationTop = 44;
constexpr int kPassesTop = 44;
constexpr int kDaysTop = 268;
constexpr int kDaysTitleTop = 256;
constexpr int kRacesTop = 268;
constexpr int kDayHeight = 14;

constexpr Words kFiles{"Ficheros", "Files"};
constexpr Words kDescription{"Descripción", "Description"};
constexpr Words kDetails{"Detalles", "Details"};
constexpr Words kClassification{"Clasificación", "Classification"};
constexpr Words kNextFile{"Sig. fichero", "Next file"};
constexpr Words kPasses{"Pasos", "Passes"};
constexpr Words kByPass{"Por paso", "By pass"};
constexpr Words kByCar{"Por coche", "By car"};
constexpr Words kEvents{"Incidencias", "Events"};
constexpr Words kPrinter{"Impresora", "Printer"};
constexpr Words kCharts{"Gráficos", "Charts"};
constexpr Words kExport{"Exportar", "Export"};
constexpr Words kCorrect{"Corregir", "Correct"};
constexpr Words kPrint{"Imprimir", "Print"};
constexpr Words kDaysCount{"Días: ", "Days: "};
constexpr Words kRacesCount{"Carreras: ", "Races: "};

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& place) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  button->setFont(SmallFont());
  return button;
}

QLabel* MakeValue(QWidget* parent, const char* name, int x, int y) {
  QLabel* value = MakeCaption(parent, name, x, y, SmallFont());
  SetColour(value, QPalette::Window, Qt::white);
  return value;
}

}  // namespace

TForm2::TForm2(const FilesBrowserServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowSystemMenuHint),
      services_(services) {
  setObjectName(QStringLiteral("Form2"));
  setFixedSize(kWidth, kHeight);
  setModal(true);
  setFont(SmallFont());
  BuildControls();
  SetTexts();
}

void TForm2::BuildControls() {
  const QFont cells = CellFont();
  descriptionLabel_ = MakeCaption(this, "DescriptionLabel", 4, 4, SmallFont());
  descriptionValue_ = MakeValue(this, "DescriptionValue", 60, 4);
  detailsLabel_ = MakeCaption(this, "DetailsLabel", 20, 16, SmallFont());
  detailsValue_ = MakeValue(this, "DetailsValue", 60, 16);

  classificationTitle_ = MakeCaption(this, "ClassificationTitle", 96, 32, SmallFont());
  printClassification_ = MakeButton(this, "PrintClassification", QRect(224, 28, 53, 15));
  connect(printClassification_, &QPushButton::clicked, this, [this] { PrintClassification(); });
  classificationGrid_ =
      MakeRecordGrid(this, "ClassificationGrid", QRect(4, kClassificationTop, 288, 46), {32, 24, 56, 88, 64}, cells);
  // Display only; its cells keep their black text.
  classificationGrid_->setEnabled(false);
  SetColour(classificationGrid_, QPalette::Text, Qt::black);
  SetColour(classificationGrid_->horizontalHeader(), QPalette::ButtonText, Qt::black);

  nextFileLabel_ = MakeCaption(this, "NextFileLabel", 380, 16, SmallFont());
  nextFileValue_ = MakeValue(this, "NextFileValue", 432, 16);

  passesTitle_ = MakeCaption(this, "PassesTitle", 348, 32, SmallFont());
  printPasses_ = MakeButton(this, "PrintPasses", QRect(420, 28, 53, 15));
  connect(printPasses_, &QPushButton::clicked, this, [this] { PrintPasses(); });

  orderChoice_ = new QGroupBox(this);
  orderChoice_->setObjectName(QStringLiteral("OrderChoice"));
  orderChoice_->setGeometry(488, 0, 76, 43);
  orderChoice_->setFont(SmallFont());
  byPass_ = new QRadioButton(orderChoice_);
  byPass_->setObjectName(QStringLiteral("ByPass"));
  byPass_->setGeometry(6, 13, 68, 14);
  byCarItem_ = new QRadioButton(orderChoice_);
  byCarItem_->setObjectName(QStringLiteral("ByCar"));
  byCarItem_->setGeometry(6, 27, 68, 14);
  connect(byPass_, &QRadioButton::clicked, this, [this] { ChooseOrder(false); });
  connect(byCarItem_, &QRadioButton::clicked, this, [this] { ChooseOrder(true); });

  eventsButton_ = MakeButton(this, "EventsButton", QRect(568, 4, 56, 18));
  connect(eventsButton_, &QPushButton::clicked, this, [this] { EventsButtonClick(); });
  printerButton_ = MakeButton(this, "PrinterButton", QRect(568, 24, 56, 18));
  connect(printerButton_, &QPushButton::clicked, this, [this] { PrinterButtonClick(); });
  // In the free strip below the passes grid, under the events and printer buttons.
  chartsButton_ = MakeButton(this, "ChartsButton", QRect(508, 412, 56, 18));
  connect(chartsButton_, &QPushButton::clicked, this, [this] { ChartsButtonClick(); });
  exportButton_ = MakeButton(this, "ExportButton", QRect(568, 412, 56, 18));
  connect(exportButton_, &QPushButton::clicked, this, [this] { ExportButtonClick(); });
  correctButton_ = MakeButton(this, "CorrectButton", QRect(448, 412, 56, 18));
  connect(correctButton_, &QPushButton::clicked, this, [this] { CorrectButtonClick(); });

  passesGrid_ = MakeRecordGrid(this, "PassesGrid", QRect(328, kPassesTop, 280, 44), {32, 24, 48, 64, 88}, cells);
  passesGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(passesGrid_, &QTableWidget::cellClicked, this, [this] {
    ClearGridSelection(passesGrid_);
    eventsButton_->setFocus();
  });

  daysTitle_ = MakeCaption(this, "DaysTitle", 4, kDaysTitleTop, SmallFont());
  dayList_ = new QListWidget(this);
  dayList_->setObjectName(QStringLiteral("DayList"));
  dayList_->setGeometry(4, kDaysTop, 48, 0);
  dayList_->setFont(cells);
  dayList_->setFrameStyle(QFrame::NoFrame);
  dayList_->setUniformItemSizes(true);
  dayList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  SetColour(dayList_, QPalette::Base, Qt::white);
  connect(dayList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!filling_ && row >= 0) ChooseDay(row);
  });

  racesTitle_ = MakeCaption(this, "RacesTitle", 168, kDaysTitleTop, SmallFont());
  printRaces_ = MakeButton(this, "PrintRaces", QRect(236, 252, 53, 15));
  connect(printRaces_, &QPushButton::clicked, this, [this] { PrintRaces(); });
  racesGrid_ = MakeRecordGrid(this, "RacesGrid", QRect(76, kRacesTop, 248, 46), {32, 40, 48, 104}, cells);
  connect(racesGrid_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previousRow, int) {
    if (!filling_ && row >= 0 && row != previousRow) ChooseRace(row);
  });
}

void TForm2::SetTexts() {
  const bool es = spanish_;
  setWindowTitle(Tr(kFiles, es));
  SetCaption(descriptionLabel_, kDescription.Pick(es));
  SetCaption(detailsLabel_, kDetails.Pick(es));
  SetCaption(classificationTitle_, kClassification.Pick(es));
  SetCaption(nextFileLabel_, kNextFile.Pick(es));
  orderChoice_->setTitle(Tr(kPasses, es));
  byPass_->setText(Tr(kByPass, es));
  byCarItem_->setText(Tr(kByCar, es));
  eventsButton_->setText(Tr(kEvents, es));
  printerButton_->setText(Tr(kPrinter, es));
  chartsButton_->setText(Tr(kCharts, es));
  exportButton_->setText(Tr(kExport, es));
  correctButton_->setText(Tr(kCorrect, es));
  for (QPushButton* print : {printClassification_, printPasses_, printRaces_}) print->setText(Tr(kPrint, es));
  SetGridHeadings(classificationGrid_, records::ClassificationHeadings(es));
  SetGridHeadings(passesGrid_, records::PassesHeadings(es));
  SetGridHeadings(racesGrid_, records::RacesHeadings(es));
}

void TForm2::Prepare(bool spanish, std::string nextRaceBase) {
  spanish_ = spanish;
  nextRaceBase_ = std::move(nextRaceBase);
}

int TForm2::ShowModal(bool spanish, std::string nextRaceBase) {
  Prepare(spanish, std::move(nextRaceBase));
  return exec();
}

void TForm2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TForm2::hideEvent(QHideEvent* event) {
  // Closing releases the passes; only the order choice is kept.
  if (!event->spontaneous()) {
    passes_.Clear();
    passesFile_.clear();
  }
  QDialog::hideEvent(event);
}

void TForm2::FormShow() {
  if (const QScreen* s = screen()) {
    const QRect area = s->geometry();
    move(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - height() / 2);
  }
  SetTexts();
  ShowOrderChoice();

  // The days: every races file of the folder, latest last.
  filling_ = true;
  days_ = records::DayList(services_.lister.List(services_.recordFolder));
  dayList_->clear();
  for (const auto& day : days_) {
    auto* item = new QListWidgetItem(Q(day), dayList_);
    item->setSizeHint(QSize(0, kDayHeight));
  }
  SetCaption(daysTitle_, std::string(kDaysCount.Pick(spanish_)) + std::to_string(days_.size()));
  const int listRoom = kHeight - kDaysTop - 20;
  const int listHeight = static_cast<int>(days_.size()) * kDayHeight;
  dayList_->setVerticalScrollBarPolicy(listHeight > listRoom ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  dayList_->resize(listHeight > listRoom ? 64 : 48, std::min(listHeight, listRoom));

  // Empty grids until a race fills them; nothing of the last opening stays.
  for (QTableWidget* grid : {classificationGrid_, passesGrid_, racesGrid_}) {
    FillGridRows(grid, {});
    ClearGridSelection(grid);
  }
  SizeGrid(classificationGrid_, 0, false);
  SizeGrid(passesGrid_, 0, true);
  SizeGrid(racesGrid_, 0, false);
  SetCaption(descriptionValue_, "");
  SetCaption(detailsValue_, "");
  SetCaption(passesTitle_, kPassesCount.Pick(spanish_));
  SetCaption(racesTitle_, kRacesCount.Pick(spanish_));
  SetCaption(nextFileValue_, nextRaceBase_);
  races_ = {};
  passes_.Clear();
  passesFile_.clear();
  chosenDay_.clear();
  racesDay_.clear();
  eventsFileName_.clear();
  chosenRace_ = 0;
  filling_ = false;

  if (!days_.empty()) ChooseDay(static_cast<int>(days_.size()) - 1);
}

void TForm2::ChooseDay(int index) {
  if (index < 0 || index >= static_cast<int>(days_.size())) return;
  filling_ = true;
  dayList_->setCurrentRow(index);
  filling_ = false;
  chosenDay_ = days_[static_cast<std::size_t>(index)];

  std::string bytes;
  if (!ReadFile(chosenDay_ + "00.txt", bytes)) return;
  auto read = records::ReadRaces(bytes);
  ShowMessages(read.messages);
  // A number that does not convert ends the reading: the races shown stay.
  if (read.stopped) return;
  races_ = std::move(read);
  racesDay_ = chosenDay_;

  std::vector<std::vector<std::string>> rows;
  for (const auto& race : races_.items) rows.push_back(records::RaceCells(race));
  filling_ = true;
  FillGridRows(racesGrid_, rows);
  ClearGridSelection(racesGrid_);
  filling_ = false;
  SizeGrid(racesGrid_, static_cast<int>(rows.size()), false);
  SetCaption(racesTitle_, std::string(kRacesCount.Pick(spanish_)) + std::to_string(races_.items.size()));

  if (races_.items.empty()) return;
  const int last = static_cast<int>(races_.items.size()) - 1;
  filling_ = true;
  racesGrid_->setCurrentCell(last, 0);
  filling_ = false;
  ChooseRace(last);
}

void TForm2::ChooseRace(int row) {
  if (row < 0 || row >= static_cast<int>(races_.items.size())) return;
  LoadRace(races_.items[static_cast<std::size_t>(row)].race);
}

void TForm2::LoadRace(int raceNumber) {
  chosenRace_ = raceNumber;
  LoadClassification(records::RaceFileName(racesDay_, raceNumber, ".cls"));
  if (LoadPasses(records::RaceFileName(racesDay_, raceNumber, ".pss"))) {
    byCar_ = false;
    ShowOrderChoice();
    ShowPasses();
  }
  // The events button hands this name on whether or not the file is there.
  const std::string events = records::RaceFileName(racesDay_, raceNumber, ".inc");
  const std::string found = FindFile(events);
  eventsFileName_ = found.empty() ? events : found;
}

}  // namespace ui
