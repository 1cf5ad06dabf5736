#pragma once
// The print setup window's dialogs answered by the test: the printer dialog
// runs a scripted change on the printer, the font dialog returns the next
// scripted font (or is cancelled when none is left) and keeps its presets.

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "printing/print_dialogs.h"

namespace testing_support {

class FakePrintDialogs final : public printing::PrintDialogs {
 public:
  void SetUpPrinter(QPrinter& printer, QWidget*) override {
    ++printerDialogs;
    if (onPrinterDialog) onPrinterDialog(printer);
  }
  std::optional<QFont> ChooseFont(const QFont& preset, QWidget*) override {
    presets.push_back(preset);
    if (fonts.empty()) return std::nullopt;
    const QFont font = fonts.front();
    fonts.pop_front();
    return font;
  }

  std::function<void(QPrinter&)> onPrinterDialog;
  int printerDialogs = 0;
  std::deque<QFont> fonts;  // the answers; empty means Cancel
  std::vector<QFont> presets;
};

}  // namespace testing_support
