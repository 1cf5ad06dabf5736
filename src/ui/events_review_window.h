#pragma once
// TForm3, "Incidencias": the events file of one past race as a table that
// can be re-ordered by event, by car or by type, with the free text of a
// manual event and a printed report. Opened modally by the files browser.

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "events/events_review.h"
#include "platform/message_boxes.h"
#include "records/readers.h"
#include "ui/report_printer.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace ui {

// What the files browser hands over when it opens the review.
struct EventsReviewRequest {
  bool spanish = true;
  std::string eventsFileName;  // shown as it is
  std::string path;            // where that file is read from
  // The report frame's shared lines, as the browser shows them.
  std::string day;
  std::string description;
  std::string details;
};

class TForm3 final : public QDialog {
 public:
  TForm3(platform::MessageBoxes& boxes, ReportPrinter& printer, QWidget* parent = nullptr);

  // Sets what the next opening shows; the opening itself runs when the
  // window is shown.
  void Prepare(EventsReviewRequest request);
  // Prepare, then show modally.
  int ShowModal(EventsReviewRequest request);

  // The opening: texts in the language, an empty grid, then the file.
  void FormActivate();
  // Reads the events file into InciList and shows it by event.
  void CargaInci(const std::string& path);
  // Fills the grid and the count from InciList.
  void MuestraInci();
  // Re-orders InciList by the chosen ordering (0 by event, 1 by car, 2 by type).
  void RadioGroup1Click(int item);
  // Shows the manual text of the entry in grid row `row` (0 is the first
  // entry), or hides the detail when it has none.
  void StringGrid1Click(int row);
  // Prints the table in its current order.
  void Button3Click();

  const std::vector<records::TInci>& InciList() const noexcept { return inciList_; }

  static constexpr int kWidth = 515;
  static constexpr int kHeight = 431;
  // The window's outer height, frame included: the grid's rows are capped by it.
  static constexpr int kOuterHeight = 458;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void ShowOrderChoice(events::InciOrder order);
  void HideDetail();

  platform::MessageBoxes& boxes_;
  ReportPrinter& printer_;
  EventsReviewRequest request_;
  std::vector<records::TInci> inciList_;
  events::InciOrder order_ = events::InciOrder::ByEvent;

  QLabel* label1_;
  QLabel* label2_;
  QLabel* label3_;
  QLabel* label4_;
  QTableWidget* stringGrid1_;
  QPlainTextEdit* memo1_;
  QGroupBox* radioGroup1_;
  std::array<QRadioButton*, 3> orderItems_{};
  QPushButton* button3_;
};

}  // namespace ui
