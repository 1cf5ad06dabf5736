#pragma once
// TForm4, the results window for the public on a second monitor: the
// running order as big car numbers with their laps beneath, the race clock,
// the race length and two sponsor banners. The car that crossed the line
// last is marked in yellow. It never takes input.

#include <QWidget>
#include <array>

#include "race/race_listener.h"
#include "race/screen_texts.h"

class QLabel;
class QScreen;

namespace ui {

class TForm4 final : public QWidget, public race::RaceListener {
 public:
  explicit TForm4(QWidget* parent = nullptr);

  // A race starts: no car is marked, and positions beyond the participants
  // are emptied so no number of an earlier race is left on the screen.
  void RaceStarted(const race::StartFact& fact) override;
  // An accepted pass of the car, its line on disk: the mark moves to the
  // car's position and, while the window is visible, the order and the
  // laps are written.
  void PassRecorded(const race::PassFact& fact) override;
  // A lap added to a car during the race: the order and the laps again,
  // the mark where it was.
  void CorrectionRecorded(const race::CorrectionFact& fact) override;
  // The participant count changed: the cells take their normal fonts.
  void ResetCellFonts();
  // Clock and race length, at every tick whether visible or not.
  void ShowScreen(const race::RaceScreen& screen);

  int ResultsLastCar() const noexcept { return resultsLastCar_; }

 protected:
  void showEvent(QShowEvent* event) override;
  // Only the "Multimonitor" box shows and hides it: the window manager's
  // close button is refused, or the public could lose its screen mid-race.
  void closeEvent(QCloseEvent* event) override;

 private:
  void Highlight(int car, const race::TRaceState& race);
  // The order and the laps of the cars, while visible.
  void ShowOrder(const race::TRaceState& race, const race::TCoches& cars);
  QColor ColumnColour(int position) const;
  // Where the window goes: the first screen that is not the primary one,
  // else the fixed spot left of the primary when a screen shows it, else
  // the middle of the primary screen.
  void Place();

  std::array<QLabel*, race::kCars + 1> numbers_{};  // Label1..Label12
  std::array<QLabel*, race::kCars + 1> laps_{};     // Label13..Label24
  QLabel* panel1_ = nullptr;
  QLabel* panel2_ = nullptr;
  QLabel* panel3_ = nullptr;
  QLabel* panel4_ = nullptr;
  int resultsLastCar_ = 0;
};

inline constexpr int kResultsFixedLeft = -1548;
inline constexpr int kResultsFixedTop = 133;

}  // namespace ui
