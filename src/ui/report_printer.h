#pragma once
// Where the browser and the events review send a report: the printer in the
// printer font, or in tests a page that records what is printed.

#include "platform/message_boxes.h"
#include "printing/printer_settings.h"
#include "printing/report_frame.h"

namespace ui {

class ReportPrinter {
 public:
  virtual ~ReportPrinter() = default;
  // Prints the report as one job; failures are reported to the user.
  virtual void Print(const printing::Report& report, bool spanish) = 0;
};

// The current printer of the program's printer settings.
class SettingsReportPrinter final : public ReportPrinter {
 public:
  SettingsReportPrinter(printing::PrinterSettings& settings, platform::MessageBoxes& boxes)
      : settings_(settings), boxes_(boxes) {}
  void Print(const printing::Report& report, bool spanish) override;

 private:
  printing::PrinterSettings& settings_;
  platform::MessageBoxes& boxes_;
};

}  // namespace ui
