#include "ui/results_window.h"

namespace ui {

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Window | Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("Resultados"));
  setFixedSize(1024, 749);
  // On the monitor left of the primary one; the program does not adjust it.
  move(-1548, 133);
  // It never takes input: the operator's keys stay with the main window.
  setEnabled(false);
}

void TForm4::PassAccepted(int car, const std::array<int, race::kCars + 1>& /*standings*/) { lastCar_ = car; }

void TForm4::ResetCellFonts() {}

void TForm4::ShowScreen(const race::RaceScreen& /*screen*/) {}

}  // namespace ui
