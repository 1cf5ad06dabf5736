#pragma once
// TForm4, the results window for a second monitor. For now it is only its
// frame at its fixed place; the main window already calls every hook the
// full display needs (the passing car's mark, the cell fonts, the screen).

#include <QWidget>
#include <array>

#include "race/race_control.h"

namespace ui {

class TForm4 final : public QWidget {
 public:
  explicit TForm4(QWidget* parent = nullptr);

  // An accepted pass of the car, after the standings were sorted.
  void PassAccepted(int car, const std::array<int, race::kCars + 1>& standings);
  // The participant count changed: the number cells take their normal fonts.
  void ResetCellFonts();
  // The main window's screen changed (order, clock, race length).
  void ShowScreen(const race::RaceScreen& screen);

  int lastCar() const noexcept { return lastCar_; }

 private:
  int lastCar_ = 0;
};

}  // namespace ui
