#pragma once
// TForm8, "Impresora": shows the current printer and printer font, and lets
// the user pick another printer or font. Opened modally from the files
// browser.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <array>

#include "platform/message_boxes.h"
#include "printing/print_dialogs.h"
#include "printing/printer_settings.h"

namespace printing {

class TForm8 final : public QDialog {
 public:
  TForm8(PrinterSettings& settings, PrintDialogs& dialogs, platform::MessageBoxes& boxes, QWidget* parent = nullptr);

  // Shows the window modally with its texts in the given language.
  int ShowModal(bool spanish);

  // Every activation: all texts in the current language, the current
  // printer and font.
  void FormActivate();
  // "Selección": the printer setup dialog, then the printer's name again.
  void Button1Click();
  // "Letra": the font dialog preset with the printer font.
  void Button2Click();

  // The number of characters of the printer's name shown.
  static constexpr int kNameLength = 38;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowPrinterName();
  void ShowFont();

  PrinterSettings& settings_;
  PrintDialogs& dialogs_;
  platform::MessageBoxes& boxes_;
  bool spanish_ = true;
  QPushButton* button1_;
  QPushButton* button2_;
  QLabel* label1_;
  QLabel* label2_;
  QLabel* label3_;
  QLabel* label4_;
  QLabel* label5_;
  QLabel* label6_;
  std::array<QCheckBox*, 4> styleBoxes_{};
};

}  // namespace printing
