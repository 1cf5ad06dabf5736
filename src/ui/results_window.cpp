#include "ui/results_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <algorithm>

#include "ui/widgets.h"

namespace ui {
namespace {

constexpr std::array<int, race::kCars + 1> kNumberLeft = {0, -1, 85, 170, 256, 342, 427, 513, 598, 684, 770, 855, 941};
constexpr std::array<int, race::kCars + 1> kLapsLeft = {0, 1, 89, 174, 260, 346, 431, 517, 602, 688, 774, 859, 945};
const QColor kYellow = QColor::fromRgb(255, 255, 0);

// The big faces, with narrow stand-ins where the Windows ones are missing so
// two-digit numbers keep inside their cells.
QFont BigFont(const char* family, int points) {
  QFont font(QString::fromLatin1(family));
  font.setFamilies({QString::fromLatin1(family), QStringLiteral("Nimbus Sans Narrow"),
                    QStringLiteral("DejaVu Sans Condensed")});
  font.setPointSize(points);
  font.setBold(true);
  return font;
}

QLabel* MakeBanner(QWidget* parent, const char* name, const QRect& place, const QFont& font, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(place);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  label->setFrameStyle(QFrame::Panel | QFrame::Raised);
  return label;
}

}  // namespace

TForm4::TForm4(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("Resultados"));
  setFixedSize(1024, 749);
  // It never takes input: the operator's keys stay with the main window.
  setEnabled(false);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  move(kResultsFixedLeft, kResultsFixedTop);

  for (int i = 1; i <= race::kCars; ++i) {
    numbers_[i] = MakeCell(this, QStringLiteral("Label%1").arg(i), QRect(kNumberLeft[i], 152, 82, 77),
                           BigFont("Tahoma", 48), Qt::AlignRight | Qt::AlignVCenter, ColumnColour(i));
    laps_[i] = MakeCell(this, QStringLiteral("Label%1").arg(i + 12), QRect(kLapsLeft[i], 232, 78, 45),
                        BigFont("Verdana", 28), Qt::AlignRight | Qt::AlignVCenter, ColumnColour(i));
  }
  panel3_ = MakeBanner(this, "Panel3", QRect(14, 302, 387, 99), BigFont("Tahoma", 48), QString());
  panel4_ = MakeBanner(this, "Panel4", QRect(544, 302, 181, 99), BigFont("Tahoma", 48), QStringLiteral("180'"));
  panel1_ = MakeBanner(this, "Panel1", QRect(14, 408, 941, 89), BigFont("Verdana", 72),
                       QStringLiteral("Su patrocinador"));
  panel2_ = MakeBanner(this, "Panel2", QRect(4, 520, 1017, 89), BigFont("Verdana", 48),
                       QStringLiteral("www.patrocinador.example"));
  // The window takes no input, so it is disabled; its texts keep their
  // colours all the same, to be read from across the room.
  for (QLabel* panel : {panel3_, panel4_}) SetColour(panel, QPalette::WindowText, Qt::black);
  for (QLabel* banner : {panel1_, panel2_}) SetColour(banner, QPalette::WindowText, QColor::fromRgb(0, 0, 128));
  // Screens plugged in or out while it shows: it moves onto one that exists.
  auto replace = [this] {
    if (isVisible()) Place();
  };
  connect(qApp, &QGuiApplication::screenAdded, this, replace);
  connect(qApp, &QGuiApplication::screenRemoved, this, replace);
}

QColor TForm4::ColumnColour(int position) const {
  return position % 2 == 0 ? QColor(Qt::white) : palette().color(QPalette::Active, QPalette::Button);
}

void TForm4::Highlight(int car, const race::TRaceState& race) {
  if (isVisible()) {
    if (resultsLastCar_ != 0) {
      for (int i = 1; i <= race::kCars; ++i) {
        if (numbers_[i]->palette().color(QPalette::Window) == kYellow) {
          SetColour(numbers_[i], QPalette::Window, ColumnColour(i));
          break;
        }
      }
    }
    for (int i = 1; i <= race::kCars; ++i) {
      if (race.Standings[i] != 0 && race.Standings[i] == car) {
        SetColour(numbers_[i], QPalette::Window, kYellow);
        break;
      }
    }
  }
  resultsLastCar_ = car;
}

void TForm4::PassRecorded(const race::PassFact& fact) {
  Highlight(fact.car, fact.state);
  ShowOrder(fact.state, fact.cars);
}

void TForm4::CorrectionRecorded(const race::CorrectionFact& fact) {
  if (resultsLastCar_ != 0) Highlight(resultsLastCar_, fact.state);
  ShowOrder(fact.state, fact.cars);
}

void TForm4::ShowOrder(const race::TRaceState& race, const race::TCoches& cars) {
  if (!isVisible()) return;
  for (int i = 1; i <= race::kCars; ++i) {
    const int w = race.Standings[i];
    if (w < 1 || w > race::kCars || !cars[w].Participates) continue;
    numbers_[i]->setText(QString::number(w));
    laps_[i]->setText(QString::number(cars[w].Laps));
  }
}

void TForm4::RaceStarted(const race::StartFact& fact) {
  const int participants = fact.setup.Participants();
  resultsLastCar_ = 0;
  for (int i = 1; i <= race::kCars; ++i) {
    SetColour(numbers_[i], QPalette::Window, ColumnColour(i));
    if (i > participants) {
      numbers_[i]->clear();
      laps_[i]->clear();
    }
  }
}

void TForm4::ResetCellFonts() {
  for (int i = 1; i <= race::kCars; ++i) {
    QFont number = numbers_[i]->font();
    number.setPointSize(48);
    numbers_[i]->setFont(number);
    QFont laps = laps_[i]->font();
    laps.setPointSize(28);
    laps_[i]->setFont(laps);
  }
}

void TForm4::ShowScreen(const race::RaceScreen& screen) {
  panel3_->setText(Q(screen.raceClock));
  panel4_->setText(Q(screen.raceLength));
}

void TForm4::showEvent(QShowEvent* event) {
  Place();
  QWidget::showEvent(event);
}

void TForm4::closeEvent(QCloseEvent* event) { event->ignore(); }

void TForm4::Place() {
  const QList<QScreen*> screens = QGuiApplication::screens();
  QScreen* primary = QGuiApplication::primaryScreen();
  for (QScreen* screen : screens) {
    if (screen != primary) {
      move(screen->geometry().topLeft());
      return;
    }
  }
  const QRect fixed(QPoint(kResultsFixedLeft, kResultsFixedTop), size());
  for (QScreen* screen : screens) {
    if (screen->geometry().contains(fixed.topLeft())) {
      move(fixed.topLeft());
      return;
    }
  }
  if (primary != nullptr) {
    const QRect area = primary->geometry();
    // A screen smaller than the window shows at least its top-left part.
    move(area.left() + std::max(0, (area.width() - width()) / 2),
         area.top() + std::max(0, (area.height() - height()) / 2));
  }
}

}  // namespace ui
