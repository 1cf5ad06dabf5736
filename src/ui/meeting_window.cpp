#include "ui/meeting_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "meeting/heat_setup.h"
#include "meeting/qualifying.h"
#include "meeting/schedule.h"
#include "meeting/season.h"
#include "meeting/standings.h"
#include "meeting/text.h"
#include "meeting/texts.h"
#include "records/cars.h"
#include "exports/meeting_export.h"
#include "results/csv.h"
#include "ui/report_printer.h"
#include "ui/main_window.h"
#include "ui/meeting_link.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr Words kTitle{"Reunión", "Meeting"};
constexpr Words kDriversTab{"Pilotos", "Drivers"};
constexpr Words kMeetingTab{"Reunión", "Meeting"};
constexpr Words kHeatsTab{"Mangas", "Heats"};
constexpr Words kStandingsTab{"Clasificación", "Standings"};
constexpr Words kSeasonTab{"Campeonato", "Championship"};
constexpr Words kName{"Nombre", "Name"};
constexpr Words kShortName{"Abreviatura", "Short name"};
constexpr Words kNumber{"Número", "Number"};
constexpr Words kClass{"Clase", "Class"};
constexpr Words kActive{"Activo", "Active"};
constexpr Words kNewDriver{"Nuevo piloto", "New driver"};
constexpr Words kSaveDriver{"Guardar piloto", "Save driver"};
constexpr Words kImport{"Importar CSV...", "Import CSV..."};
constexpr Words kExport{"Exportar CSV...", "Export CSV..."};
constexpr Words kNewMeeting{"Nueva reunión", "New meeting"};
constexpr Words kSaveMeeting{"Guardar reunión", "Save meeting"};
constexpr Words kPrepare{"Preparar", "Prepare"};
constexpr Words kBestOf{"Cuentan las mejores (0: todas)", "Best meetings counted (0: all)"};
constexpr Words kRandom{"Al azar", "Random"};
constexpr Words kEntryOrder{"Orden de inscripción", "Entry order"};
constexpr Words kBestRound{"Mejor ronda", "Best round"};
constexpr Words kRoundPoints{"Puntos por ronda", "Points per round"};
constexpr Words kIndividual{"Crono individual en clasificación", "Individual timing in qualifying"};
constexpr Words kPrepared{"%1 preparada: pulse \"Inicio\" en la ventana principal.",
                          "%1 prepared: press \"Start\" in the main window."};
constexpr Words kNoHeat{"No hay manga que preparar: todas tienen resultado o la siguiente espera resultados.",
                        "No heat to prepare: every heat has a result or the next one waits for results."};
constexpr Words kImportSummary{"Fichero %1: %2 añadidos, %3 cambiados, %4 sin cambios, %5 rechazadas.",
                               "File %1: %2 added, %3 changed, %4 unchanged, %5 refused."};
constexpr Words kImportAsk{"¿Importar?", "Import?"};
constexpr Words kNothingToImport{"Nada que importar.", "Nothing to import."};
constexpr Words kCannotRead{"No se puede leer el fichero.", "The file cannot be read."};
constexpr Words kCannotWrite{"No se puede escribir el fichero.", "The file cannot be written."};
constexpr Words kSaved{"Guardado.", "Saved."};
constexpr Words kPointsBad{"Tabla de puntos no válida: números separados por guiones.",
                           "Bad points table: numbers separated by dashes."};
constexpr Words kPrint{"Imprimir", "Print"};
constexpr Words kExportMeeting{"Exportar reunión…", "Export meeting…"};
constexpr Words kExportInto{"Exportar la reunión en la carpeta", "Export the meeting into the folder"};
constexpr Words kExported{"Reunión exportada: %1 ficheros en %2.", "Meeting exported: %1 files in %2."};
constexpr Words kNotExported{"La reunión no se exportó: %1", "The meeting was not exported: %1"};

// The captions of the meeting editor, in the order of the form.
constexpr Words kCaptions[] = {
    {"Fecha", "Date"},
    {"Nombre", "Name"},
    {"Clase", "Class"},
    {"Formato", "Format"},
    {"Coches o carriles", "Cars or lanes"},
    {"Minutos por manga", "Minutes per stint"},
    {"Rondas", "Rounds"},
    {"Minutos por ronda", "Minutes per round"},
    {"Coches por grupo", "Cars per group"},
    {"Primera ronda", "First round"},
    {"Clasifica por", "Ranked by"},
    {"Coches por final", "Cars per final"},
    {"Suben de cada final", "Bumped up per final"},
    {"Minutos por final", "Minutes per final"},
    {"Puntos", "Points"},
    {"Pilotos inscritos", "Drivers entered"},
};

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

// A grid showing a table as a person reads it.
void FillGrid(QTableWidget* grid, const results::Table& table, bool spanish) {
  grid->clearContents();
  grid->setColumnCount(static_cast<int>(table.columns.size()));
  QStringList headings;
  for (const auto& column : table.columns) headings << Q(column.label);
  grid->setHorizontalHeaderLabels(headings);
  grid->setRowCount(static_cast<int>(table.rows.size()));
  for (int r = 0; r < static_cast<int>(table.rows.size()); ++r) {
    const auto& row = table.rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < static_cast<int>(row.size()); ++c) {
      const auto& cell = row[static_cast<std::size_t>(c)];
      if (cell.kind != results::Cell::Kind::Empty) grid->setItem(r, c, Cell(Q(results::ShownText(cell, spanish))));
    }
  }
  grid->resizeColumnsToContents();
}

QTableWidget* MakeGrid(QWidget* parent, const char* name) {
  auto* grid = new QTableWidget(parent);
  grid->setObjectName(QString::fromLatin1(name));
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->verticalHeader()->hide();
  grid->horizontalHeader()->setStretchLastSection(true);
  return grid;
}

void SetHeadings(QTableWidget* grid, std::initializer_list<QString> headings) {
  grid->setColumnCount(static_cast<int>(headings.size()));
  grid->setHorizontalHeaderLabels(QStringList(headings));
}

QSpinBox* Spin(QWidget* parent, int low, int high) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(low, high);
  return spin;
}

// "10-8-6-5-4-3-2-1"; dashes, commas or blanks between the numbers.
std::optional<std::vector<int>> ParsePoints(const QString& text) {
  std::vector<int> points;
  static const QRegularExpression separators(QStringLiteral("[-,;\\s]+"));
  for (const QString& part : text.split(separators, Qt::SkipEmptyParts)) {
    bool ok = false;
    const int value = part.toInt(&ok);
    if (!ok || value < 0 || value > meeting::kMaxPointsPerPlace) return std::nullopt;
    points.push_back(value);
  }
  if (points.size() > meeting::kMaxPointsPlaces) return std::nullopt;
  return points;
}

QString PointsText(const std::vector<int>& points) {
  QStringList parts;
  for (int p : points) parts << QString::number(p);
  return parts.join(QLatin1Char('-'));
}

}  // namespace

MeetingWindow::MeetingWindow(const MeetingWindowServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName(QStringLiteral("MeetingWindow"));
  setModal(true);
  resize(900, 600);
  Build();
  ApplyLanguage();
}

void MeetingWindow::Build() {
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  layout->addWidget(tabs_);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("MeetingStatus"));
  status_->setWordWrap(true);
  layout->addWidget(status_);

  // Drivers.
  auto* drivers = new QWidget(tabs_);
  auto* driversLayout = new QVBoxLayout(drivers);
  rosterGrid_ = MakeGrid(drivers, "RosterGrid");
  driversLayout->addWidget(rosterGrid_);
  auto* fields = new QHBoxLayout;
  name_ = new QLineEdit(drivers);
  name_->setMaxLength(static_cast<int>(meeting::kMaxNameChars));
  shortName_ = new QLineEdit(drivers);
  shortName_->setMaxLength(static_cast<int>(meeting::kMaxShortNameChars));
  number_ = new QLineEdit(drivers);
  number_->setMaxLength(4);
  className_ = new QLineEdit(drivers);
  className_->setMaxLength(static_cast<int>(meeting::kMaxClassChars));
  active_ = new QCheckBox(drivers);
  active_->setChecked(true);
  fields->addWidget(name_, 4);
  fields->addWidget(shortName_, 2);
  fields->addWidget(number_, 1);
  fields->addWidget(className_, 2);
  fields->addWidget(active_);
  driversLayout->addLayout(fields);
  auto* driverButtons = new QHBoxLayout;
  newDriver_ = new QPushButton(drivers);
  saveDriver_ = new QPushButton(drivers);
  import_ = new QPushButton(drivers);
  export_ = new QPushButton(drivers);
  for (auto* b : {newDriver_, saveDriver_, import_, export_}) driverButtons->addWidget(b);
  driverButtons->addStretch();
  driversLayout->addLayout(driverButtons);
  tabs_->addTab(drivers, QString());
  connect(rosterGrid_, &QTableWidget::currentCellChanged, this, [this](int row) { EditDriver(row); });
  connect(newDriver_, &QPushButton::clicked, this, [this] { EditDriver(-1); });
  connect(saveDriver_, &QPushButton::clicked, this, [this] { SaveDriverClick(); });
  connect(import_, &QPushButton::clicked, this, [this] { ImportClick(); });
  connect(export_, &QPushButton::clicked, this, [this] { ExportClick(); });

  // Meeting.
  auto* meetingTab = new QWidget(tabs_);
  auto* meetingLayout = new QHBoxLayout(meetingTab);
  auto* listColumn = new QVBoxLayout;
  meetingList_ = new QListWidget(meetingTab);
  meetingList_->setObjectName(QStringLiteral("MeetingList"));
  newMeeting_ = new QPushButton(meetingTab);
  listColumn->addWidget(meetingList_);
  listColumn->addWidget(newMeeting_);
  meetingLayout->addLayout(listColumn, 2);
  auto* form = new QFormLayout;
  date_ = new QDateEdit(meetingTab);
  date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  date_->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
  meetingName_ = new QLineEdit(meetingTab);
  meetingName_->setObjectName(QStringLiteral("MeetingName"));
  meetingName_->setMaxLength(static_cast<int>(meeting::kMaxMeetingNameChars));
  meetingClass_ = new QLineEdit(meetingTab);
  meetingClass_->setMaxLength(static_cast<int>(meeting::kMaxClassChars));
  format_ = new QComboBox(meetingTab);
  format_->setObjectName(QStringLiteral("MeetingFormat"));
  format_->addItems({QString(), QString()});
  lanes_ = Spin(meetingTab, 2, records::kCars);
  stint_ = Spin(meetingTab, 1, 180);
  rounds_ = Spin(meetingTab, 1, 5);
  roundMinutes_ = Spin(meetingTab, 1, 180);
  groupSize_ = Spin(meetingTab, 2, records::kCars);
  firstRound_ = new QComboBox(meetingTab);
  firstRound_->addItems({QString(), QString()});
  ranking_ = new QComboBox(meetingTab);
  ranking_->addItems({QString(), QString()});
  finalSize_ = Spin(meetingTab, 2, records::kCars);
  bumpUp_ = Spin(meetingTab, 0, 4);
  finalMinutes_ = Spin(meetingTab, 1, 180);
  points_ = new QLineEdit(meetingTab);
  individual_ = new QCheckBox(meetingTab);
  QWidget* inputs[] = {date_,       meetingName_, meetingClass_, format_,   lanes_,  stint_,   rounds_, roundMinutes_,
                       groupSize_, firstRound_,  ranking_,      finalSize_, bumpUp_, finalMinutes_, points_};
  for (std::size_t i = 0; i < std::size(inputs); ++i) {
    auto* caption = new QLabel(meetingTab);
    captions_.push_back(caption);
    form->addRow(caption, inputs[i]);
  }
  form->addRow(QString(), individual_);
  saveMeeting_ = new QPushButton(meetingTab);
  saveMeeting_->setObjectName(QStringLiteral("SaveMeeting"));
  form->addRow(QString(), saveMeeting_);
  meetingLayout->addLayout(form, 3);
  auto* entrantsColumn = new QVBoxLayout;
  auto* entrantsCaption = new QLabel(meetingTab);
  captions_.push_back(entrantsCaption);
  entrants_ = new QListWidget(meetingTab);
  entrants_->setObjectName(QStringLiteral("Entrants"));
  entrantsColumn->addWidget(entrantsCaption);
  entrantsColumn->addWidget(entrants_);
  meetingLayout->addLayout(entrantsColumn, 3);
  tabs_->addTab(meetingTab, QString());
  connect(meetingList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && row < static_cast<int>(meetings_.size())) LoadMeeting(meetings_[static_cast<std::size_t>(row)].id);
  });
  connect(newMeeting_, &QPushButton::clicked, this, [this] { NewMeetingClick(); });
  connect(saveMeeting_, &QPushButton::clicked, this, [this] { SaveMeetingClick(); });
  connect(format_, &QComboBox::currentIndexChanged, this, [this] { FormatChanged(); });

  // Heats.
  auto* heatsTab = new QWidget(tabs_);
  auto* heatsLayout = new QVBoxLayout(heatsTab);
  heatsGrid_ = MakeGrid(heatsTab, "HeatsGrid");
  heatsLayout->addWidget(heatsGrid_);
  prepare_ = new QPushButton(heatsTab);
  prepare_->setObjectName(QStringLiteral("Prepare"));
  printSheet_ = new QPushButton(heatsTab);
  printSheet_->setObjectName(QStringLiteral("PrintHeatSheet"));
  exportMeeting_ = new QPushButton(heatsTab);
  exportMeeting_->setObjectName(QStringLiteral("ExportMeeting"));
  auto* prepareRow = new QHBoxLayout;
  prepareRow->addWidget(prepare_);
  prepareRow->addStretch();
  prepareRow->addWidget(printSheet_);
  prepareRow->addWidget(exportMeeting_);
  heatsLayout->addLayout(prepareRow);
  tabs_->addTab(heatsTab, QString());
  connect(prepare_, &QPushButton::clicked, this, [this] { PrepareHeat(); });
  connect(printSheet_, &QPushButton::clicked, this, [this] { PrintHeatSheet(); });
  connect(exportMeeting_, &QPushButton::clicked, this, [this] { ExportMeetingClick(); });

  // Standings.
  auto* standingsTab = new QWidget(tabs_);
  auto* standingsLayout = new QVBoxLayout(standingsTab);
  standings_ = MakeGrid(standingsTab, "StandingsGrid");
  standingsLayout->addWidget(standings_);
  printResults_ = new QPushButton(standingsTab);
  printResults_->setObjectName(QStringLiteral("PrintResults"));
  auto* resultsRow = new QHBoxLayout;
  resultsRow->addStretch();
  resultsRow->addWidget(printResults_);
  standingsLayout->addLayout(resultsRow);
  tabs_->addTab(standingsTab, QString());
  connect(printResults_, &QPushButton::clicked, this, [this] { PrintResults(); });

  // Season.
  auto* seasonTab = new QWidget(tabs_);
  auto* seasonLayout = new QVBoxLayout(seasonTab);
  auto* seasonRow = new QHBoxLayout;
  seasonTitle_ = new QLabel(seasonTab);
  bestOf_ = Spin(seasonTab, 0, 99);
  auto* bestOfCaption = new QLabel(seasonTab);
  bestOfCaption->setObjectName(QStringLiteral("BestOfCaption"));
  seasonRow->addWidget(seasonTitle_);
  seasonRow->addStretch();
  seasonRow->addWidget(bestOfCaption);
  seasonRow->addWidget(bestOf_);
  printSeason_ = new QPushButton(seasonTab);
  printSeason_->setObjectName(QStringLiteral("PrintChampionship"));
  seasonRow->addWidget(printSeason_);
  connect(printSeason_, &QPushButton::clicked, this, [this] { PrintChampionship(); });
  seasonLayout->addLayout(seasonRow);
  season_ = MakeGrid(seasonTab, "SeasonGrid");
  seasonLayout->addWidget(season_);
  tabs_->addTab(seasonTab, QString());
  connect(bestOf_, &QSpinBox::valueChanged, this, [this] { ShowSeason(); });
}

void MeetingWindow::ApplyLanguage() {
  const bool es = spanish_;
  setWindowTitle(Tr(kTitle, es));
  const Words* tabs[] = {&kDriversTab, &kMeetingTab, &kHeatsTab, &kStandingsTab, &kSeasonTab};
  for (int i = 0; i < tabs_->count(); ++i) tabs_->setTabText(i, Tr(*tabs[i], es));
  SetHeadings(rosterGrid_, {Tr(kName, es), Tr(kShortName, es), Tr(kNumber, es), Tr(kClass, es), Tr(kActive, es)});
  name_->setPlaceholderText(Tr(kName, es));
  shortName_->setPlaceholderText(Tr(kShortName, es));
  number_->setPlaceholderText(Tr(kNumber, es));
  className_->setPlaceholderText(Tr(kClass, es));
  active_->setText(Tr(kActive, es));
  newDriver_->setText(Tr(kNewDriver, es));
  saveDriver_->setText(Tr(kSaveDriver, es));
  import_->setText(Tr(kImport, es));
  export_->setText(Tr(kExport, es));
  newMeeting_->setText(Tr(kNewMeeting, es));
  saveMeeting_->setText(Tr(kSaveMeeting, es));
  // Alt+P: the heat is prepared from the keyboard too.
  prepare_->setText(QLatin1Char('&') + Tr(kPrepare, es));
  for (std::size_t i = 0; i < captions_.size(); ++i) captions_[i]->setText(Tr(kCaptions[i], es));
  format_->setItemText(0, Tr(meeting::words::kRotation, es));
  format_->setItemText(1, Tr(meeting::words::kQualifyingFinals, es));
  firstRound_->setItemText(0, Tr(kRandom, es));
  firstRound_->setItemText(1, Tr(kEntryOrder, es));
  ranking_->setItemText(0, Tr(kBestRound, es));
  ranking_->setItemText(1, Tr(kRoundPoints, es));
  individual_->setText(Tr(kIndividual, es));
  findChild<QLabel*>(QStringLiteral("BestOfCaption"))->setText(Tr(kBestOf, es));
  for (auto* print : {printSheet_, printResults_, printSeason_}) print->setText(Tr(kPrint, es));
  exportMeeting_->setText(Tr(kExportMeeting, es));
}

int MeetingWindow::ShowModal(bool spanish) {
  Prepare(spanish);
  return exec();
}

void MeetingWindow::Prepare(bool spanish) {
  spanish_ = spanish;
  services_.link.SetSpanish(spanish);
  ApplyLanguage();
  status_->setText(services_.link.TakeProblem());
  if (Reload()) LoadMeeting(current_);
  // A meeting under way opens on its heats.
  if (!heats_.empty()) tabs_->setCurrentIndex(2);
}

void MeetingWindow::Say(const std::string& text) { status_->setText(Q(text)); }

void MeetingWindow::StoreFailed() {
  const std::string text = meeting::StoreProblemText(services_.store.Status(), spanish_);
  Say(text);
  services_.boxes.Info(kAppTitle, text);
}

bool MeetingWindow::Reload() {
  auto drivers = services_.store.Drivers();
  auto meetings = drivers ? services_.store.Meetings() : std::nullopt;
  if (!meetings) {
    StoreFailed();
    return false;
  }
  roster_ = std::move(*drivers);
  meetings_ = std::move(*meetings);
  if (current_ == 0 && !meetings_.empty()) current_ = meetings_.back().id;
  ShowRoster();
  ShowMeetingList();
  return true;
}

void MeetingWindow::ShowRoster() {
  rosterGrid_->setUpdatesEnabled(false);
  rosterGrid_->setRowCount(static_cast<int>(roster_.size()));
  for (int r = 0; r < static_cast<int>(roster_.size()); ++r) {
    const auto& d = roster_[static_cast<std::size_t>(r)];
    rosterGrid_->setItem(r, 0, Cell(Q(d.name)));
    rosterGrid_->setItem(r, 1, Cell(Q(d.shortName)));
    rosterGrid_->setItem(r, 2, Cell(d.number ? QString::number(*d.number) : QString()));
    rosterGrid_->setItem(r, 3, Cell(Q(d.className)));
    rosterGrid_->setItem(r, 4, Cell(Tr(d.active ? meeting::words::kYes : meeting::words::kNo, spanish_)));
  }
  rosterGrid_->setUpdatesEnabled(true);
}

void MeetingWindow::ShowMeetingList() {
  const QSignalBlocker block(meetingList_);
  meetingList_->clear();
  for (const auto& m : meetings_) {
    meetingList_->addItem(Q(meeting::IsoDate(m.date) + "  " + m.name + (m.className.empty() ? "" : " (" + m.className + ")")));
    if (m.id == current_) meetingList_->setCurrentRow(meetingList_->count() - 1);
  }
}

void MeetingWindow::SelectMeeting(meeting::MeetingId id) {
  current_ = id;
  ShowMeetingList();
  LoadMeeting(id);
}

void MeetingWindow::EditDriver(int row) {
  const meeting::Driver* d = row >= 0 && row < static_cast<int>(roster_.size()) ? &roster_[static_cast<std::size_t>(row)] : nullptr;
  editing_ = d ? d->id : 0;
  name_->setText(d ? Q(d->name) : QString());
  shortName_->setText(d ? Q(d->shortName) : QString());
  number_->setText(d && d->number ? QString::number(*d->number) : QString());
  className_->setText(d ? Q(d->className) : QString());
  active_->setChecked(d ? d->active : true);
  if (!d) name_->setFocus();
}

void MeetingWindow::SaveDriverClick() {
  meeting::Driver d;
  d.id = editing_;
  d.name = meeting::Tidy(name_->text().toStdString());
  d.shortName = meeting::Tidy(shortName_->text().toStdString());
  if (d.shortName.empty()) d.shortName = meeting::MakeShortName(d.name);
  d.className = meeting::Tidy(className_->text().toStdString());
  d.active = active_->isChecked();
  const std::string number = meeting::Tidy(number_->text().toStdString());
  std::optional<meeting::DriverProblem> problem;
  if (!number.empty()) {
    d.number = meeting::ParseRaceNumber(number);
    if (!d.number) problem = meeting::DriverProblem::BadNumber;
  }
  if (!problem) problem = meeting::CheckDriver(roster_, d);
  if (problem) {
    services_.boxes.Info(kAppTitle, meeting::WordsOf(*problem).Pick(spanish_));
    return;
  }
  const auto id = services_.store.SaveDriver(d);
  if (!id) return StoreFailed();
  editing_ = *id;
  Reload();
  LoadMeeting(current_);
  Say(kSaved.Pick(spanish_));
}

void MeetingWindow::ImportClick() {
  const auto file = services_.dialogs.OpenFileName(this, Tr(kImport, spanish_), QStringLiteral("CSV (*.csv *.txt);;* (*)"));
  if (file) ImportRoster(*file);
}

void MeetingWindow::ImportRoster(const QString& file) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) return services_.boxes.Info(kAppTitle, kCannotRead.Pick(spanish_));
  const QByteArray bytes = in.read(static_cast<qint64>(meeting::kMaxRosterFileBytes) + 1);
  const auto plan = meeting::PlanRosterImport(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), roster_);
  if (plan.failure != meeting::ImportFailure::None) {
    return services_.boxes.Info(kAppTitle, meeting::WordsOf(plan.failure).Pick(spanish_));
  }
  std::string text = QString::fromUtf8(kImportSummary.Pick(spanish_))
                         .arg(QFileInfo(file).fileName())
                         .arg(plan.added.size())
                         .arg(plan.changed.size())
                         .arg(plan.unchangedRows.size())
                         .arg(plan.refused.size())
                         .toStdString();
  // The box lists the first refusals; the rest are counted above.
  for (std::size_t i = 0; i < plan.refused.size() && i < 15; ++i) {
    text += "\r" + meeting::RefusalText(plan.refused[i], spanish_);
  }
  if (!plan.HasChanges()) return services_.boxes.Info(kAppTitle, text + "\r" + kNothingToImport.Pick(spanish_));
  if (!services_.boxes.Confirm(kAppTitle, text + "\r" + kImportAsk.Pick(spanish_))) return;
  if (!services_.store.ApplyImport(plan)) return StoreFailed();
  Reload();
  LoadMeeting(current_);
  Say(kSaved.Pick(spanish_));
}

void MeetingWindow::ExportClick() {
  const auto file = services_.dialogs.SaveFileName(this, Tr(kExport, spanish_), QStringLiteral("pilotos.csv"),
                                                   QStringLiteral("CSV (*.csv)"));
  if (file && !ExportRoster(*file)) services_.boxes.Info(kAppTitle, kCannotWrite.Pick(spanish_));
}

bool MeetingWindow::ExportRoster(const QString& file) {
  const char separator = ';';
  std::string header = meeting::words::kRosterHeader.Pick(spanish_);
  std::replace(header.begin(), header.end(), ',', separator);
  std::string out = std::string(results::kUtf8Bom) + header + "\r\n";
  const auto field = [&](const std::string& text) {
    return results::CsvField(results::NeutralisedText(text), separator);
  };
  for (const auto& d : roster_) {
    out += field(d.name) + separator + field(d.shortName) + separator +
           (d.number ? std::to_string(*d.number) : std::string()) + separator + field(d.className) + separator +
           (d.active ? meeting::words::kYes : meeting::words::kNo).Pick(spanish_) + "\r\n";
  }
  QSaveFile save(file);
  if (!save.open(QIODevice::WriteOnly)) return false;
  save.write(out.data(), static_cast<qint64>(out.size()));
  return save.commit();
}

void MeetingWindow::NewMeetingClick() {
  current_ = 0;
  heats_.clear();
  results_.clear();
  meeting::Meeting m;
  const QDate today = QDate::currentDate();
  m.date = {today.year(), today.month(), today.day()};
  const QSignalBlocker block(meetingList_);
  meetingList_->clearSelection();
  ShowMeetingEditor(m);
  ShowHeats();
  ShowStandings();
  meetingName_->setFocus();
}

void MeetingWindow::LoadMeeting(meeting::MeetingId id) {
  const auto found = std::find_if(meetings_.begin(), meetings_.end(), [id](const auto& m) { return m.id == id; });
  if (found == meetings_.end()) return NewMeetingClick();
  current_ = id;
  const meeting::Meeting& m = *found;
  auto heats = services_.store.Heats(id);
  auto results = heats ? services_.store.Results(id) : std::nullopt;
  if (!results) return StoreFailed();
  // Line up whatever can be now: the rotation at once, a round once the one
  // before has its results, each final once the one below has.
  std::vector<meeting::Heat> lined;
  for (const auto& h : *heats) lined.push_back(h.heat);
  const auto ready = meeting::ReadyHeats(m, roster_, lined, *results);
  if (!ready.empty()) {
    if (!services_.store.AddHeats(id, ready)) return StoreFailed();
    heats = services_.store.Heats(id);
    if (!heats) return StoreFailed();
  }
  heats_ = std::move(*heats);
  results_ = std::move(*results);
  heatCount_ = static_cast<int>(meeting::Outline(m).size());
  ShowMeetingEditor(m);
  ShowHeats();
  ShowStandings();
  ShowSeason();
}

void MeetingWindow::ShowMeetingEditor(const meeting::Meeting& m) {
  date_->setDate(QDate(m.date.year, m.date.month, m.date.day));
  meetingName_->setText(Q(m.name));
  meetingClass_->setText(Q(m.className));
  format_->setCurrentIndex(m.format == meeting::Format::Rotation ? 0 : 1);
  lanes_->setValue(m.rotation.lanes);
  stint_->setValue(m.rotation.stintMinutes);
  const auto& q = m.qualifying;
  rounds_->setValue(q.rounds);
  roundMinutes_->setValue(q.roundMinutes);
  groupSize_->setValue(q.groupSize);
  firstRound_->setCurrentIndex(q.firstRound == meeting::FirstRoundOrder::Random ? 0 : 1);
  ranking_->setCurrentIndex(q.ranking == meeting::QualifyingRanking::BestRound ? 0 : 1);
  individual_->setChecked(q.individualTiming);
  finalSize_->setValue(q.finalSize);
  bumpUp_->setValue(q.bumpUp);
  finalMinutes_->setValue(q.finalMinutes);
  points_->setText(PointsText(m.points));
  // The active drivers, and any driver entered since made inactive.
  entrants_->clear();
  for (const auto& d : roster_) {
    const bool entered = std::find(m.entrants.begin(), m.entrants.end(), d.id) != m.entrants.end();
    if (!d.active && !entered) continue;
    auto* item = new QListWidgetItem(Q(d.name + (d.className.empty() ? "" : " (" + d.className + ")")), entrants_);
    item->setData(Qt::UserRole, QVariant::fromValue<qint64>(d.id));
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    item->setCheckState(entered ? Qt::Checked : Qt::Unchecked);
  }
  // Heats lined up fix the format, the drivers and the heats' settings.
  const bool open = heats_.empty() || m.id == 0;
  for (QWidget* w : std::initializer_list<QWidget*>{format_, lanes_, stint_, rounds_, roundMinutes_, groupSize_,
                                                     firstRound_, ranking_, individual_, finalSize_, bumpUp_,
                                                     finalMinutes_, entrants_}) {
    w->setEnabled(open);
  }
  FormatChanged();
}

void MeetingWindow::FormatChanged() {
  const bool rotation = format_->currentIndex() == 0;
  const bool open = format_->isEnabled();
  for (QWidget* w : {static_cast<QWidget*>(lanes_), static_cast<QWidget*>(stint_)}) w->setEnabled(open && rotation);
  for (QWidget* w : std::initializer_list<QWidget*>{rounds_, roundMinutes_, groupSize_, firstRound_, ranking_,
                                                     individual_, finalSize_, bumpUp_, finalMinutes_}) {
    w->setEnabled(open && !rotation);
  }
}

std::optional<meeting::Meeting> MeetingWindow::MeetingFromEditor() {
  meeting::Meeting m;
  if (const auto it = std::find_if(meetings_.begin(), meetings_.end(), [this](const auto& x) { return x.id == current_; });
      it != meetings_.end()) {
    m = *it;
  }
  const QDate date = date_->date();
  m.date = {date.year(), date.month(), date.day()};
  m.name = meeting::Tidy(meetingName_->text().toStdString());
  m.className = meeting::Tidy(meetingClass_->text().toStdString());
  if (format_->isEnabled()) {
    m.format = format_->currentIndex() == 0 ? meeting::Format::Rotation : meeting::Format::QualifyingFinals;
    m.rotation = {lanes_->value(), stint_->value()};
    auto& q = m.qualifying;
    q.rounds = rounds_->value();
    q.roundMinutes = roundMinutes_->value();
    q.groupSize = groupSize_->value();
    q.firstRound = firstRound_->currentIndex() == 0 ? meeting::FirstRoundOrder::Random : meeting::FirstRoundOrder::Entry;
    if (m.id == 0) q.seed = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
    q.ranking = ranking_->currentIndex() == 0 ? meeting::QualifyingRanking::BestRound
                                              : meeting::QualifyingRanking::RoundPoints;
    q.individualTiming = individual_->isChecked();
    q.finalSize = finalSize_->value();
    q.bumpUp = bumpUp_->value();
    q.finalMinutes = finalMinutes_->value();
    // Entry order: the order already kept, then newly ticked drivers in roster order.
    std::vector<meeting::DriverId> ticked;
    for (int i = 0; i < entrants_->count(); ++i) {
      if (entrants_->item(i)->checkState() == Qt::Checked) ticked.push_back(entrants_->item(i)->data(Qt::UserRole).toLongLong());
    }
    std::vector<meeting::DriverId> order;
    for (auto d : m.entrants) {
      if (std::find(ticked.begin(), ticked.end(), d) != ticked.end()) order.push_back(d);
    }
    for (auto d : ticked) {
      if (std::find(order.begin(), order.end(), d) == order.end()) order.push_back(d);
    }
    m.entrants = std::move(order);
  }
  const auto points = ParsePoints(points_->text());
  if (!points) {
    services_.boxes.Info(kAppTitle, kPointsBad.Pick(spanish_));
    return std::nullopt;
  }
  m.points = *points;
  if (const auto problem = meeting::CheckMeeting(m)) {
    services_.boxes.Info(kAppTitle, meeting::WordsOf(*problem).Pick(spanish_));
    return std::nullopt;
  }
  return m;
}

void MeetingWindow::SaveMeetingClick() {
  const auto m = MeetingFromEditor();
  if (!m) return;
  const auto id = services_.store.SaveMeeting(*m);
  if (!id) return StoreFailed();
  current_ = *id;
  if (!Reload()) return;
  LoadMeeting(current_);
  Say(kSaved.Pick(spanish_));
}

std::optional<meeting::MeetingBook> MeetingWindow::Book() const {
  const auto found = std::find_if(meetings_.begin(), meetings_.end(), [this](const auto& m) { return m.id == current_; });
  if (found == meetings_.end() || current_ == 0) return std::nullopt;
  return meeting::MeetingBook{*found, heats_, results_, roster_};
}

void MeetingWindow::ShowHeats() {
  const auto book = Book();
  if (!book) {
    heatsGrid_->clearContents();
    heatsGrid_->setRowCount(0);
    prepare_->setEnabled(false);
    return;
  }
  FillGrid(heatsGrid_, meeting::HeatSheet(*book, spanish_), spanish_);
  prepare_->setEnabled(!heats_.empty());
}

void MeetingWindow::ShowStandings() {
  const auto book = Book();
  if (!book) {
    standings_->clearContents();
    standings_->setRowCount(0);
    return;
  }
  FillGrid(standings_, meeting::MeetingResults(*book, spanish_), spanish_);
}

std::optional<results::Table> MeetingWindow::ChampionshipTable() {
  const auto book = Book();
  if (!book) return std::nullopt;
  const int year = book->meeting.date.year;
  const std::string& className = book->meeting.className;
  const auto season = meeting::SeasonMeetings(services_.store, meetings_, className, year, &*book);
  if (!season) {
    StoreFailed();
    return std::nullopt;
  }
  return meeting::Championship(meeting::Season(*season, className, year, bestOf_->value()), meetings_, roster_, spanish_);
}

void MeetingWindow::ShowSeason() {
  const auto book = Book();
  const auto table = ChampionshipTable();
  if (!book || !table) {
    season_->clearContents();
    season_->setRowCount(0);
    return;
  }
  seasonTitle_->setText(Q(meeting::ChampionshipTitle(book->meeting.className, book->meeting.date.year, spanish_)));
  FillGrid(season_, *table, spanish_);
}

void MeetingWindow::Print(const results::Table& table, const std::string& title) {
  const auto book = Book();
  if (!book || services_.printer == nullptr) return;
  printing::Report report;
  report.day = meeting::IsoDate(book->meeting.date);
  report.description = meeting::MeetingLine(book->meeting, spanish_);
  report.title = title;
  report.jobName = "TRELVIX " + title;
  for (const auto& column : table.columns) report.headings.push_back(column.label);
  for (const auto& row : table.rows) {
    std::vector<std::string> cells;
    cells.reserve(row.size());
    for (const auto& cell : row) cells.push_back(results::ShownText(cell, spanish_));
    report.rows.push_back(std::move(cells));
  }
  // A cell wider than a tab stop pushes the rest of its line one stop on:
  // each column is padded to its widest cell, so the columns stay straight.
  std::vector<std::size_t> widths(report.headings.size());
  for (std::size_t c = 0; c < widths.size(); ++c) {
    widths[c] = meeting::CharCount(report.headings[c]);
    for (const auto& row : report.rows) widths[c] = std::max(widths[c], c < row.size() ? meeting::CharCount(row[c]) : 0);
  }
  const auto pad = [&widths](std::vector<std::string>& cells) {
    for (std::size_t c = 0; c + 1 < cells.size() && c < widths.size(); ++c) {
      cells[c].append(widths[c] + 1 - meeting::CharCount(cells[c]), ' ');
    }
  };
  pad(report.headings);
  for (auto& row : report.rows) pad(row);
  services_.printer->Print(report, spanish_);
}

void MeetingWindow::PrintHeatSheet() {
  if (const auto book = Book()) Print(meeting::HeatList(*book, spanish_), meeting::HeatSheetTitle(spanish_));
}

void MeetingWindow::PrintResults() {
  if (const auto book = Book()) Print(meeting::MeetingResults(*book, spanish_), meeting::MeetingResultsTitle(spanish_));
}

void MeetingWindow::PrintChampionship() {
  const auto book = Book();
  const auto table = book ? ChampionshipTable() : std::nullopt;
  if (table) Print(*table, meeting::ChampionshipTitle(book->meeting.className, book->meeting.date.year, spanish_));
}

void MeetingWindow::ExportMeetingClick() {
  const auto book = Book();
  if (!book) return;
  const auto folder = services_.dialogs.FolderName(this, Tr(kExportInto, spanish_));
  if (!folder) return;
  const int year = book->meeting.date.year;
  const auto season = meeting::SeasonMeetings(services_.store, meetings_, book->meeting.className, year, &*book);
  if (!season) return StoreFailed();
  const auto table = meeting::Season(*season, book->meeting.className, year, bestOf_->value());
  const auto result = exports::ExportMeeting(*book, meetings_, table, *folder, spanish_);
  const std::string text =
      result.ok ? records::Filled(kExported.Pick(spanish_), std::to_string(result.written.size()), folder->toStdString())
                : records::Filled(kNotExported.Pick(spanish_), result.error);
  Say(text);
  services_.boxes.Info(kAppTitle, text);
}

bool MeetingWindow::PrepareHeat() {
  const auto found = std::find_if(meetings_.begin(), meetings_.end(), [this](const auto& m) { return m.id == current_; });
  if (found == meetings_.end()) return false;
  const meeting::StoredHeat* heat = nullptr;
  const int row = heatsGrid_->currentRow();
  if (row >= 0 && heatsGrid_->selectionModel()->hasSelection()) {
    const auto stored = std::find_if(heats_.begin(), heats_.end(), [row](const auto& h) { return h.heat.slot.number == row + 1; });
    if (stored != heats_.end()) heat = &*stored;
  }
  if (!heat) {
    for (const auto& h : heats_) {
      if (!meeting::ResultOf(results_, h.heat.slot.number)) {
        heat = &h;
        break;
      }
    }
  }
  if (!heat) {
    Say(kNoHeat.Pick(spanish_));
    services_.boxes.Info(kAppTitle, kNoHeat.Pick(spanish_));
    return false;
  }
  const meeting::HeatSetup setup = meeting::SetupFor(*found, heat->heat, heatCount_, spanish_);
  race::RaceSetup race = services_.currentSetup();
  std::vector<int> cars;
  for (int n = 1; n <= records::kCars; ++n) {
    race.participates[static_cast<std::size_t>(n)] = setup.cars[static_cast<std::size_t>(n - 1)];
    if (setup.cars[static_cast<std::size_t>(n - 1)]) cars.push_back(n);
  }
  race.minutes = setup.minutes;
  race.individualTiming = !setup.commonTiming;
  race.description = setup.description;
  services_.showSetup(race);
  race::DriverNames names;
  for (const auto& row : meeting::LineUp(heat->heat, meeting::IndexOf(roster_))) {
    names[row.car] = row.shortName.empty() ? row.name : row.shortName;
  }
  services_.link.Prepare(current_, heat->heat.slot.number, cars, std::move(names));
  Say(QString::fromUtf8(kPrepared.Pick(spanish_)).arg(Q(meeting::HeatTitle(heat->heat.slot, heatCount_, spanish_))).toStdString());
  accept();
  return true;
}

}  // namespace ui
