#pragma once
// The corrections window of a finished race: each car's crossings with the
// laps that likely hide a missed one marked, the corrections a director
// can make with a reason (a lap added, a pass removed, a time or lap
// penalty, a disqualification, an undo), the corrections made, and the
// classification before and after them side by side.

#include <QDialog>
#include <functional>
#include <string>

#include "platform/directory.h"
#include "platform/message_boxes.h"
#include "records/race_id.h"
#include "results/race_sheet.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QDoubleSpinBox;
class QSpinBox;
class QTableWidget;

namespace ui {

struct CorrectionsServices {
  platform::DirectoryLister& lister;
  platform::MessageBoxes& boxes;
  std::string recordFolder;
  // The minimum lap the director races with, in milliseconds: no lap split
  // by a correction may be shorter.
  std::function<long long()> minimumLapMs = [] { return 0LL; };
};

class CorrectionsWindow final : public QDialog {
 public:
  explicit CorrectionsWindow(const CorrectionsServices& services, QWidget* parent = nullptr);

  // Loads the race; false (and a message) when it cannot be corrected.
  // `today` is the day stem of today: older races ask once before the
  // first correction.
  bool Open(const records::RaceId& race, bool spanish, const std::string& today);
  // Open, then show modally.
  int ShowModal(const records::RaceId& race, bool spanish, const std::string& today);

  // The action chosen, in the order of the action box.
  enum Action { kAddLap, kRemovePass, kTimePenalty, kLapPenalty, kDisqualify, kUndo };
  // Records the correction the controls describe; false when refused or not written.
  bool Apply();

  static constexpr int kWidth = 800;
  static constexpr int kHeight = 470;

 private:
  void BuildControls();
  void SetTexts();
  void Reload();
  void ShowPasses(const results::RaceResult& after);
  void PickPass(int row);
  void ActionChanged();

  CorrectionsServices services_;
  records::RaceId race_;
  bool spanish_ = true;
  bool olderConfirmed_ = false;
  std::string today_;
  results::RaceSheet sheet_;

  QLabel* title_ = nullptr;
  QLabel* passesTitle_ = nullptr;
  QTableWidget* passes_ = nullptr;
  QComboBox* action_ = nullptr;
  QLabel* carLabel_ = nullptr;
  QSpinBox* car_ = nullptr;
  QLabel* passLabel_ = nullptr;
  QSpinBox* pass_ = nullptr;
  QLabel* amountLabel_ = nullptr;
  QDoubleSpinBox* amount_ = nullptr;
  QLabel* reasonLabel_ = nullptr;
  QComboBox* reason_ = nullptr;
  QPushButton* apply_ = nullptr;
  QLabel* listTitle_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* beforeTitle_ = nullptr;
  QTableWidget* before_ = nullptr;
  QLabel* afterTitle_ = nullptr;
  QTableWidget* after_ = nullptr;
};

}  // namespace ui
