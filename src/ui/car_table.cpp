// The car table: one row per car with its participant box, laps, last lap,
// fastest lap, accumulated time, state and position.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "race/texts.h"
#include "ui/main_window.h"
#include "ui/results_window.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr int kFirstRowY = 172;
constexpr int kRowStep = 20;
constexpr int kCellHeight = 16;
const QColor kFuchsia(255, 0, 255);

QString Numbered(const char* prefix, int number) { return QString::fromLatin1(prefix) + QString::number(number); }

// The participant boxes of cars 9 to 12 sit a pixel lower than the rhythm
// of the first eight.
int ParticipantBoxY(int car) { return car <= 8 ? 4 + kRowStep * (car - 1) : 165 + kRowStep * (car - 9); }

}  // namespace

void TForm1::BuildCarTable() {
  panel4_ = MakeFrame(this, QStringLiteral("Panel4"), QRect(0, 168, 64, 241));
  for (int n = 1; n <= race::kCars; ++n) {
    auto* box = new QCheckBox(panel4_);
    box->setObjectName(Numbered("CheckBox", n));
    box->setGeometry(4, ParticipantBoxY(n), 57, 12);
    box->setFont(SmallFont());
    box->setText(Q(race::ParticipantCaption(n, true, true)));
    connect(box, &QCheckBox::clicked, this, [this, n](bool ticked) { CheckBoxClick(n, ticked); });
    participant_[n] = box;
  }

  MakeCaption(this, "Label52", 75, 160, SmallFont());
  MakeCaption(this, "Label14", 116, 160, SmallFont());
  MakeCaption(this, "Label39", 176, 160, SmallFont());
  MakeCaption(this, "Label1", 236, 160, SmallFont());
  MakeCaption(this, "Label66", 340, 160, SmallFont());
  MakeCaption(this, "Label53", 404, 160, SmallFont());

  for (int n = 1; n <= race::kCars; ++n) {
    const int y = kFirstRowY + kRowStep * (n - 1);
    auto cell = [&](int number, int x, int width, Qt::Alignment alignment) {
      return MakeCell(this, Numbered("Label", number), QRect(x, y, width, kCellHeight), CellFont(), alignment,
                      Qt::white);
    };
    auto* laps = new ClickableLabel(this);
    laps->setObjectName(Numbered("Label", n + 14));
    laps->setGeometry(66, y, 43, kCellHeight);
    laps->setFont(CellFont());
    laps->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetColour(laps, QPalette::Window, Qt::white);
    SetColour(laps, QPalette::WindowText, Qt::black);
    laps->onClick = [this, n] { Select(n); };
    laps_[n] = laps;
    lastLap_[n] = cell(n + 26, 114, 55, Qt::AlignRight);
    fastestLap_[n] = cell(n + 39, 174, 55, Qt::AlignRight);
    accumulated_[n] = cell(n + 1, 234, 84, Qt::AlignRight);
    state_[n] = cell(n + 66, 324, 80, Qt::AlignHCenter);
    position_[n] = cell(n + 53, 408, 16, Qt::AlignRight);
  }
}

void TForm1::RenderCarTable(bool all) {
  const race::RaceScreen& s = race_.Screen();
  for (int n = 1; n <= race::kCars; ++n) {
    const race::CarRow& row = s.cars[n];
    race::CarRow& shown = shown_.cars[n];
    const bool takesPart = race_.Setup().Participates(n);
    if (all || takesPart != shownParticipates_[n]) {
      const QSignalBlocker quiet(participant_[n]);
      participant_[n]->setChecked(takesPart);
      shownParticipates_[n] = takesPart;
    }
    ShowChanged(laps_[n], row.laps, shown.laps, all);
    if (all || row.lapsHighlighted != shown.lapsHighlighted) {
      SetColour(laps_[n], QPalette::Window, row.lapsHighlighted ? kFuchsia : QColor(Qt::white));
      shown.lapsHighlighted = row.lapsHighlighted;
    }
    ShowChanged(lastLap_[n], row.lastLap, shown.lastLap, all);
    ShowChanged(fastestLap_[n], row.fastestLap, shown.fastestLap, all);
    ShowChanged(accumulated_[n], row.accumulated, shown.accumulated, all);
    ShowChanged(state_[n], row.state, shown.state, all);
    ShowChanged(position_[n], row.position, shown.position, all);
  }
}

void TForm1::CheckBoxClick(int car, bool ticked) {
  race_.CheckBoxClick(car, ticked);
  if (form4_ != nullptr) form4_->ResetCellFonts();
}

void TForm1::Select(int car) {
  if (addLap_->isChecked() && race_.State().Running) {
    addLap_->setChecked(false);
    race_.AddMissedLap(car);
    return;
  }
  race_.Select(car);
}

}  // namespace ui
