#pragma once
// The pages of a print job on a QPrinter, drawn with QPainter in the printer
// font. Units are the printer's device pixels, from the top-left corner of
// its printable area.

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <optional>

#include "printing/drawing_surface.h"

namespace printing {

class PainterSurface final : public DrawingSurface {
 public:
  // Starts the job; Started() tells whether the printer took it.
  PainterSurface(QPrinter& printer, const QFont& font);
  ~PainterSurface() override;
  PainterSurface(const PainterSurface&) = delete;
  PainterSurface& operator=(const PainterSurface&) = delete;

  bool Started() const noexcept { return metrics_.has_value(); }

  int PageWidth() const override;
  int PageHeight() const override;
  int TextWidth(std::string_view text) const override;
  int TextHeight(std::string_view text) const override;
  int AverageCharWidth() const override;
  int CharHeight() const override;
  void DrawText(int x, int y, std::string_view text) override;
  void NewPage() override;
  void EndJob() override;

 private:
  QPrinter& printer_;
  QPainter painter_;
  std::optional<QFontMetrics> metrics_;
};

}  // namespace printing
