#include "printing/painter_surface.h"

namespace printing {

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

PainterSurface::PainterSurface(QPrinter& printer, const QFont& font) : printer_(printer) {
  if (!painter_.begin(&printer_)) return;
  painter_.setFont(font);
  painter_.setPen(Qt::black);
  metrics_.emplace(painter_.fontMetrics());
}

PainterSurface::~PainterSurface() { EndJob(); }

int PainterSurface::PageWidth() const { return printer_.width(); }
int PainterSurface::PageHeight() const { return printer_.height(); }

int PainterSurface::TextWidth(std::string_view text) const {
  return metrics_ ? metrics_->horizontalAdvance(FromUtf8(text)) : 0;
}

// Qt gives one height for every text in a font.
int PainterSurface::TextHeight(std::string_view) const { return CharHeight(); }

int PainterSurface::AverageCharWidth() const { return metrics_ ? metrics_->averageCharWidth() : 0; }
int PainterSurface::CharHeight() const { return metrics_ ? metrics_->height() : 0; }

void PainterSurface::DrawText(int x, int y, std::string_view text) {
  if (!metrics_) return;
  painter_.drawText(x, y + metrics_->ascent(), FromUtf8(text));
}

void PainterSurface::NewPage() {
  if (metrics_) printer_.newPage();
}

void PainterSurface::EndJob() {
  if (painter_.isActive()) painter_.end();
}

}  // namespace printing
