#include "ui/corrections_window.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "exports/race_correction.h"
#include "records/lines.h"
#include "ui/widgets.h"

namespace ui {
namespace {

constexpr Words kTitle{"Corregir", "Correct"};
constexpr Words kRaceTitle{"Carrera %1: %2", "Race %1: %2"};
constexpr Words kPassesTitle{"Pasos por coche (×2? = posible vuelta doble)", "Passes by car (×2? = likely double lap)"};
constexpr Words kActions[] = {{"Añadir vuelta (paso no marcado)", "Add a lap (missed crossing)"},
                              {"Quitar paso (paso falso)", "Remove a pass (false pass)"},
                              {"Penalización de tiempo (+s)", "Time penalty (+s)"},
                              {"Penalización de vueltas (−v)", "Lap penalty (−laps)"},
                              {"Descalificar", "Disqualify"},
                              {"Deshacer corrección nº", "Undo correction no."}};
constexpr Words kAmounts[] = {{"Partir a (s, 0 = mitad)", "Split at (s, 0 = middle)"},
                              {"", ""},
                              {"Segundos", "Seconds"},
                              {"Vueltas", "Laps"},
                              {"", ""},
                              {"Corrección nº", "Correction no."}};
constexpr Words kReasons[] = {{"Paso no marcado", "Missed crossing"},
                              {"Paso falso", "False pass"},
                              {"Decisión de comisarios", "Stewards' decision"},
                              {"Corte de pista", "Track cut"}};
constexpr Words kCar{"Coche", "Car"};
constexpr Words kPass{"Paso", "Pass"};
constexpr Words kReason{"Motivo", "Reason"};
constexpr Words kApply{"Aplicar", "Apply"};
constexpr Words kList{"Correcciones", "Corrections"};
constexpr Words kBefore{"Antes", "Before"};
constexpr Words kAfter{"Después", "After"};
constexpr Words kUndone{" (deshecha)", " (undone)"};
constexpr Words kNotTaken{" (no aplicada: %1)", " (not applied: %1)"};
constexpr Words kAdded{"añadido", "added"};
constexpr Words kOlderCaption{"Carrera de otro día", "Race of another day"};
constexpr Words kOlderQuestion{"Esta carrera es de un día anterior. ¿Corregirla de todos modos?",
                               "This race is from an earlier day. Correct it all the same?"};
constexpr Words kClassificationHeads[] = {{"Pto.", "Pos."}, {"C.", "C."}, {"Vueltas", "Laps"},
                                          {"T. total", "Total t."}, {"V. ráp.", "Fast lap"}};
constexpr Words kPassesHeads[] = {{"C.", "C."}, {"Paso", "Pass"}, {"Vuelta", "Lap"}, {"Tiempo", "Time"},
                                  {"T. total", "Total t."}, {"", ""}};

QTableWidget* MakeTable(QWidget* parent, const char* name, const QRect& place, const std::vector<int>& widths) {
  auto* table = new QTableWidget(parent);
  table->setObjectName(QString::fromLatin1(name));
  table->setGeometry(place);
  table->setFont(CellFont());
  table->setColumnCount(static_cast<int>(widths.size()));
  for (std::size_t i = 0; i < widths.size(); ++i) table->setColumnWidth(static_cast<int>(i), widths[i]);
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(16);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  return table;
}

void SetRow(QTableWidget* table, int row, const std::vector<QString>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    auto* item = new QTableWidgetItem(cells[i]);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, static_cast<int>(i), item);
  }
}

std::string Duration(long long ms) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02lld'%02lld\"%03lld", ms / 60000, ms / 1000 % 60, ms % 1000);
  return buf;
}

void ShowClassification(QTableWidget* table, const results::RaceResult& result) {
  const auto rows = results::ClassificationRecords(result);
  table->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& r = rows[i];
    SetRow(table, static_cast<int>(i),
           {QString::number(r.position), QString::number(r.car), QString::number(r.laps), Q(r.total),
            Q(records::SecondsText(std::llround(r.fastestLap * 1000)))});
  }
}

}  // namespace

CorrectionsWindow::CorrectionsWindow(const CorrectionsServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName(QStringLiteral("CorrectionsWindow"));
  setFixedSize(kWidth, kHeight);
  BuildControls();
}

void CorrectionsWindow::BuildControls() {
  title_ = MakeCaption(this, "RaceTitle", 8, 6, PixelFont("Arial", 13, true));
  passesTitle_ = MakeCaption(this, "PassesTitle", 8, 28, SmallFont());
  passes_ = MakeTable(this, "PassesTable", QRect(8, 42, 300, 420), {28, 44, 44, 70, 76, 30});
  connect(passes_, &QTableWidget::cellClicked, this, [this](int row) { PickPass(row); });

  action_ = new QComboBox(this);
  action_->setObjectName(QStringLiteral("ActionBox"));
  action_->setGeometry(320, 42, 220, 22);
  connect(action_, &QComboBox::currentIndexChanged, this, [this] { ActionChanged(); });
  auto field = [this](const char* labelName, QLabel*& label, int y) {
    label = MakeCaption(this, labelName, 320, y + 3, SmallFont());
  };
  field("CarLabel", carLabel_, 70);
  car_ = new QSpinBox(this);
  car_->setObjectName(QStringLiteral("CarBox"));
  car_->setGeometry(430, 70, 110, 22);
  car_->setRange(1, 12);
  field("PassLabel", passLabel_, 96);
  pass_ = new QSpinBox(this);
  pass_->setObjectName(QStringLiteral("PassBox"));
  pass_->setGeometry(430, 96, 110, 22);
  pass_->setRange(1, 65535);
  field("AmountLabel", amountLabel_, 122);
  amount_ = new QDoubleSpinBox(this);
  amount_->setObjectName(QStringLiteral("AmountBox"));
  amount_->setGeometry(430, 122, 110, 22);
  amount_->setRange(0, 86400);
  field("ReasonLabel", reasonLabel_, 148);
  reason_ = new QComboBox(this);
  reason_->setObjectName(QStringLiteral("ReasonBox"));
  reason_->setGeometry(320, 166, 220, 22);
  reason_->setEditable(true);
  apply_ = new QPushButton(this);
  apply_->setObjectName(QStringLiteral("ApplyButton"));
  apply_->setGeometry(440, 194, 100, 24);
  connect(apply_, &QPushButton::clicked, this, [this] { Apply(); });

  listTitle_ = MakeCaption(this, "CorrectionsTitle", 552, 28, SmallFont());
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("CorrectionsList"));
  list_->setGeometry(552, 42, 240, 192);
  list_->setFont(CellFont());

  // The classification before the corrections and after them, side by side.
  beforeTitle_ = MakeCaption(this, "BeforeTitle", 320, 226, SmallFont());
  before_ = MakeTable(this, "BeforeTable", QRect(320, 240, 232, 222), {28, 22, 36, 76, 62});
  afterTitle_ = MakeCaption(this, "AfterTitle", 560, 226, SmallFont());
  after_ = MakeTable(this, "AfterTable", QRect(560, 240, 232, 222), {28, 22, 36, 76, 62});
}

void CorrectionsWindow::SetTexts() {
  const bool es = spanish_;
  setWindowTitle(Tr(kTitle, es));
  SetCaption(passesTitle_, kPassesTitle.Pick(es));
  {
    const int index = std::max(0, action_->currentIndex());
    const QSignalBlocker quiet(action_);
    action_->clear();
    for (const Words& a : kActions) action_->addItem(Tr(a, es));
    action_->setCurrentIndex(index);
  }
  reason_->clear();
  for (const Words& r : kReasons) reason_->addItem(Tr(r, es));
  reason_->setCurrentIndex(0);
  SetCaption(carLabel_, kCar.Pick(es));
  SetCaption(passLabel_, kPass.Pick(es));
  SetCaption(reasonLabel_, kReason.Pick(es));
  apply_->setText(Tr(kApply, es));
  SetCaption(listTitle_, kList.Pick(es));
  SetCaption(beforeTitle_, kBefore.Pick(es));
  SetCaption(afterTitle_, kAfter.Pick(es));
  QStringList heads;
  for (const Words& w : kClassificationHeads) heads << Tr(w, es);
  before_->setHorizontalHeaderLabels(heads);
  after_->setHorizontalHeaderLabels(heads);
  QStringList passHeads;
  for (const Words& w : kPassesHeads) passHeads << Tr(w, es);
  passes_->setHorizontalHeaderLabels(passHeads);
  ActionChanged();
}

bool CorrectionsWindow::Open(const records::RaceId& race, bool spanish, const std::string& today) {
  race_ = race;
  spanish_ = spanish;
  today_ = today;
  olderConfirmed_ = false;
  SetTexts();
  Reload();
  if (sheet_.Unfinished() || !sheet_.hasClassification) {
    exports::CorrectionOutcome unfinished;
    unfinished.kind = exports::CorrectionOutcome::Kind::kUnfinished;
    services_.boxes.Info(platform::kProgramTitle, exports::OutcomeText(unfinished, spanish_));
    return false;
  }
  return true;
}

int CorrectionsWindow::ShowModal(const records::RaceId& race, bool spanish, const std::string& today) {
  if (!Open(race, spanish, today)) return QDialog::Rejected;
  return exec();
}

void CorrectionsWindow::Reload() {
  const results::LoadedRace loaded = results::LoadRace(services_.lister, services_.recordFolder, race_);
  sheet_ = loaded.sheet;
  SetCaption(title_, records::Filled(kRaceTitle.Pick(spanish_), race_.Text(), sheet_.Description()));
  const long long minLap = services_.minimumLapMs();
  const results::RaceResult before = results::ResultOf(sheet_, false, minLap);
  const results::RaceResult after = results::ResultOf(sheet_, true, minLap);
  ShowClassification(before_, before);
  ShowClassification(after_, after);
  ShowPasses(after);
  list_->clear();
  for (const results::Corrected& c : after.corrections) {
    std::string text = "#" + std::to_string(c.correction.number) + " C" + std::to_string(c.correction.car) + " " +
                       records::CorrectionAction(c.correction);
    if (!c.correction.reason.empty()) text += ": " + c.correction.reason;
    if (c.undone) text += kUndone.Pick(spanish_);
    if (c.refusal != results::Refusal::None) {
      text += records::Filled(kNotTaken.Pick(spanish_), results::RefusalText(c.refusal, spanish_));
    }
    list_->addItem(Q(text));
  }
}

void CorrectionsWindow::ShowPasses(const results::RaceResult& after) {
  int rows = 0;
  for (const auto& car : after.rows) rows += static_cast<int>(car.crossings.size());
  passes_->setRowCount(rows);
  std::vector<results::CarResult> byCar = after.rows;
  std::sort(byCar.begin(), byCar.end(), [](const auto& a, const auto& b) { return a.car < b.car; });
  int row = 0;
  for (const auto& car : byCar) {
    const std::vector<int> doubles = results::SuggestedDoubleLaps(car);
    int lap = 0;
    for (const results::Crossing& c : car.crossings) {
      if (!c.startsClock) ++lap;
      const bool suspect = std::find(doubles.begin(), doubles.end(), c.pass) != doubles.end() && c.pass > 0;
      SetRow(passes_, row, {QString::number(car.car), c.pass > 0 ? QString::number(c.pass) : Tr(kAdded, spanish_),
                            QString::number(lap), Q(records::SecondsText(c.lapMs)), Q(Duration(c.atMs)),
                            suspect ? QStringLiteral("×2?") : QString()});
      if (suspect) {
        for (int col = 0; col < passes_->columnCount(); ++col) passes_->item(row, col)->setBackground(QColor(255, 220, 120));
      }
      ++row;
    }
  }
}

void CorrectionsWindow::PickPass(int row) {
  const auto* carItem = passes_->item(row, 0);
  const auto* passItem = passes_->item(row, 1);
  if (carItem == nullptr || passItem == nullptr) return;
  car_->setValue(carItem->text().toInt());
  bool isNumber = false;
  const int pass = passItem->text().toInt(&isNumber);
  if (isNumber) pass_->setValue(pass);
}

void CorrectionsWindow::ActionChanged() {
  const int a = std::max(0, action_->currentIndex());
  const bool usesPass = a == kAddLap || a == kRemovePass;
  const bool usesAmount = a == kAddLap || a == kTimePenalty || a == kLapPenalty || a == kUndo;
  pass_->setEnabled(usesPass);
  amount_->setEnabled(usesAmount);
  amount_->setDecimals(a == kAddLap || a == kTimePenalty ? 3 : 0);
  SetCaption(amountLabel_, kAmounts[a].Pick(spanish_));
  if (a <= kRemovePass) reason_->setCurrentIndex(a);
  if (a == kTimePenalty || a == kLapPenalty || a == kDisqualify) reason_->setCurrentIndex(2);
}

bool CorrectionsWindow::Apply() {
  using Kind = records::Correction::Kind;
  records::Correction c;
  c.car = car_->value();
  c.pass = pass_->value();
  c.reason = reason_->currentText().simplified().toStdString();
  const long long amountMs = std::llround(amount_->value() * 1000.0);
  switch (std::max(0, action_->currentIndex())) {
    case kAddLap:
      c.kind = Kind::AddLap;
      c.splitMs = amountMs > 0 ? amountMs : -1;
      break;
    case kRemovePass: c.kind = Kind::RemovePass; break;
    case kTimePenalty:
      c.kind = Kind::TimePenalty;
      c.penaltyMs = amountMs;
      break;
    case kLapPenalty:
      c.kind = Kind::LapPenalty;
      c.laps = static_cast<int>(std::lround(amount_->value()));
      break;
    case kDisqualify: c.kind = Kind::Disqualify; break;
    default:
      c.kind = Kind::Undo;
      c.undone = static_cast<int>(std::lround(amount_->value()));
      break;
  }
  // A race of an earlier day is corrected only when the director says so, once.
  if (race_.day() != today_ && !olderConfirmed_) {
    if (!services_.boxes.Confirm(kOlderCaption.Pick(spanish_), kOlderQuestion.Pick(spanish_))) return false;
    olderConfirmed_ = true;
  }
  const exports::CorrectionOutcome outcome =
      exports::RecordCorrection(services_.lister, services_.recordFolder, race_, c, services_.minimumLapMs());
  if (!outcome.ok()) {
    services_.boxes.Info(platform::kProgramTitle, exports::OutcomeText(outcome, spanish_));
    return false;
  }
  Reload();
  return true;
}

}  // namespace ui
