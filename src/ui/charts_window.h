#pragma once
// The charts of the race chosen in the files browser: lap times and the lap
// chart, each on a tab, printed on the chosen printer or saved as PNG or PDF.
// A race with nothing to draw shows a plain message in place of the chart.

#include <QDialog>
#include <array>
#include <functional>

#include "charts/race_charts.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"
#include "results/race_sheet.h"

class QChartView;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;

namespace printing {
class PrinterSettings;
}

namespace ui {

struct ChartsServices {
  platform::MessageBoxes& boxes;
  platform::FileDialogs& dialogs;
  printing::PrinterSettings* printer = nullptr;  // the printer chosen in the print setup
};

class ChartsWindow final : public QDialog {
 public:
  explicit ChartsWindow(const ChartsServices& services, QWidget* parent = nullptr);

  // Fills both tabs for the race in a language.
  void SetRace(const results::RaceSheet& sheet, bool spanish);
  int ShowModal(const results::RaceSheet& sheet, bool spanish);

  // The chart on a tab; null when that tab shows a message instead.
  QChart* ChartOf(charts::Kind kind) const;
  QString MessageOf(charts::Kind kind) const;
  charts::Kind Current() const;
  void Choose(charts::Kind kind);

  void PrintClick();
  void SavePngClick();
  void SavePdfClick();

  static constexpr int kWidth = 820;
  static constexpr int kHeight = 560;

 private:
  void SetTexts();
  void UpdateButtons();
  charts::Chart Build(charts::Kind kind) const;
  QString FileStem() const;
  // Asks for a file and writes the current chart drawn in that format into it.
  void Save(const QString& format, const std::function<QByteArray(QChart&)>& draw);

  struct Tab {
    QStackedWidget* stack = nullptr;
    QChartView* view = nullptr;
    QLabel* message = nullptr;
    bool hasChart = false;
  };

  ChartsServices services_;
  results::RaceSheet sheet_;
  std::vector<results::CarLaps> laps_;
  bool spanish_ = true;
  QTabWidget* tabs_ = nullptr;
  std::array<Tab, 2> tab_{};
  QLabel* raceLabel_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* savePng_ = nullptr;
  QPushButton* savePdf_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace ui
