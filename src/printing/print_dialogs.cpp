#include "printing/print_dialogs.h"

#include <QFontDialog>
#include <QPrintDialog>

namespace printing {

void QtPrintDialogs::SetUpPrinter(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  // Only the printer and its paper are chosen here; the reports decide what
  // is printed.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.exec();
}

std::optional<QFont> QtPrintDialogs::ChooseFont(const QFont& preset, QWidget* parent) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, preset, parent);
  if (!ok) return std::nullopt;
  return font;
}

}  // namespace printing
