#include "printing/printer_settings.h"

#include <QFontInfo>

namespace printing {

PrinterSettings::PrinterSettings() : printer_(QPrinter::HighResolution), font_(QStringLiteral("Courier New"), 14) {}

void PrinterSettings::SetChosenFont(const QFont& font) {
  font_ = font;
  pitch_ = QFontInfo(font).fixedPitch() ? Pitch::kFixed : Pitch::kVariable;
}

bool PrinterSettings::HasPrinter() const {
  if (printer_.outputFormat() == QPrinter::PdfFormat) return !printer_.outputFileName().isEmpty();
  return !printer_.printerName().isEmpty() && printer_.isValid();
}

QString PrinterSettings::PrinterName() const {
  if (printer_.outputFormat() == QPrinter::PdfFormat) return printer_.outputFileName();
  return printer_.printerName();
}

}  // namespace printing
