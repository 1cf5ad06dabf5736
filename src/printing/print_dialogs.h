#pragma once
// The two dialogs of the print setup window: the platform's printer setup
// and the font dialog. The window runs them through this so that tests can
// answer them.

#include <QFont>
#include <QPrinter>
#include <QWidget>
#include <optional>

namespace printing {

class PrintDialogs {
 public:
  virtual ~PrintDialogs() = default;
  // Lets the user pick the printer, paper and orientation of `printer`.
  virtual void SetUpPrinter(QPrinter& printer, QWidget* parent) = 0;
  // The font the user chose starting from `preset`; nothing when cancelled.
  virtual std::optional<QFont> ChooseFont(const QFont& preset, QWidget* parent) = 0;
};

// Qt's print dialog (which also offers printing to a PDF file) and font dialog.
class QtPrintDialogs final : public PrintDialogs {
 public:
  void SetUpPrinter(QPrinter& printer, QWidget* parent) override;
  std::optional<QFont> ChooseFont(const QFont& preset, QWidget* parent) override;
};

}  // namespace printing
