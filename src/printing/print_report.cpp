#include "printing/print_report.h"

#include "printing/painter_surface.h"
#include "records/words.h"

namespace printing {

namespace {
constexpr records::Words kJobRefused{"La impresora no aceptó el trabajo", "The printer did not accept the print job"};
}  // namespace

bool PrintReport(PrinterSettings& settings, const Report& report, bool spanish, platform::MessageBoxes& boxes) {
  if (!settings.HasPrinter()) {
    boxes.Info(kMessageCaption, kNoPrinterMessage);
    return false;
  }
  settings.Printer().setDocName(QString::fromStdString(report.jobName));
  PainterSurface surface(settings.Printer(), settings.Font());
  if (!surface.Started()) {
    boxes.Info(kMessageCaption, kJobRefused.Pick(spanish));
    return false;
  }
  LinePrinter printer(surface);
  WriteReport(printer, report, spanish);
  return true;
}

}  // namespace printing
