#include "ui/report_printer.h"

#include "printing/print_report.h"

namespace ui {

void SettingsReportPrinter::Print(const printing::Report& report, bool spanish) {
  printing::PrintReport(settings_, report, spanish, boxes_);
}

}  // namespace ui
