#pragma once
// The program's one set of printer settings, held in memory for the run: the
// current printer (with its paper and orientation) and the printer font.

#include <QFont>
#include <QPrinter>
#include <QString>

#include "platform/message_boxes.h"

namespace printing {

// The pitch of the printer font as the font dialog reports it; a font that
// never went through the dialog has the default pitch.
enum class Pitch { kDefault, kVariable, kFixed };

class PrinterSettings final {
 public:
  // The platform's default printer and "Courier New" 14 points.
  PrinterSettings();
  PrinterSettings(const PrinterSettings&) = delete;
  PrinterSettings& operator=(const PrinterSettings&) = delete;

  QPrinter& Printer() noexcept { return printer_; }
  const QPrinter& Printer() const noexcept { return printer_; }

  const QFont& Font() const noexcept { return font_; }
  Pitch FontPitch() const noexcept { return pitch_; }
  // A font chosen in the font dialog, with all its attributes.
  void SetChosenFont(const QFont& font);

  // False when there is nothing to print on: no printer installed and no
  // PDF file chosen in its place.
  bool HasPrinter() const;
  // The printer's name as the platform lists it; for a PDF file, its path.
  QString PrinterName() const;

 private:
  QPrinter printer_;
  QFont font_;
  Pitch pitch_ = Pitch::kDefault;
};

// The message shown when a printer is needed and none is installed, and the
// caption of the box it is shown in.
inline constexpr const char* kNoPrinterMessage = "There is no default printer currently selected";
inline constexpr const char* kMessageCaption = platform::kProgramTitle;

}  // namespace printing
