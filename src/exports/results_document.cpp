#include "exports/results_document.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QChart>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>

#include "charts/race_charts.h"
#include "results/html_page.h"
#include "results/wording.h"

namespace exports {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A little spacing between letters keeps the shaper from joining "fi" into
// one glyph, so the document's words are found and copied as they are
// written; at 300 dots an inch it cannot be seen.
constexpr double kLetterSpacing = 0.5;

// A4 with room to hold and punch it.
constexpr QMarginsF kMarginsMm(18, 14, 16, 12);

class Pages final {
 public:
  Pages(QPdfWriter& writer, QPainter& painter, QString title, QString day, bool spanish)
      : writer_(writer), painter_(painter), spanish_(spanish), small_(QStringLiteral("Sans Serif"), 8),
        title_(std::move(title)), day_(std::move(day)) {
    small_.setStyleHint(QFont::SansSerif);
    small_.setLetterSpacing(QFont::AbsoluteSpacing, kLetterSpacing);
    const QFontMetricsF metrics(small_, &writer_);
    band_ = metrics.height() * 2.2;
  }

  double width() const { return writer_.width(); }
  double band() const { return band_; }
  // Room for the body between the running heading and the page number.
  QRectF Body() const { return QRectF(0, band_, width(), writer_.height() - 2 * band_); }

  bool Next() {
    if (count_ > 0 && !writer_.newPage()) return false;
    ++count_;
    return true;
  }

  // The title and the date above every page but the first, which has its
  // own title; the page's number below every page.
  void Frame(int number, int total) {
    painter_.save();
    painter_.setFont(small_);
    painter_.setPen(QColor(0x55, 0x55, 0x55));
    if (number > 1) {
      const QRectF top(0, 0, width(), band_ * 0.6);
      painter_.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, title_);
      painter_.drawText(top, Qt::AlignRight | Qt::AlignVCenter, day_);
      painter_.drawLine(QPointF(0, band_ * 0.7), QPointF(width(), band_ * 0.7));
    }
    const QString page = Q(results::Filled(results::words::kPageOf.Pick(spanish_), std::to_string(number),
                                           std::to_string(total)));
    painter_.drawText(QRectF(0, writer_.height() - band_ * 0.6, width(), band_ * 0.6), Qt::AlignCenter, page);
    painter_.restore();
  }

 private:
  QPdfWriter& writer_;
  QPainter& painter_;
  bool spanish_;
  QFont small_;
  QString title_;
  QString day_;
  double band_ = 0;
  int count_ = 0;
};

}  // namespace

QByteArray ResultsPdf(const results::RaceSheet& sheet, bool spanish, const std::vector<DocumentChart>& charts,
                      std::string& error) {
  return DocumentPdf(results::PageTitle(sheet, spanish), results::DayText(sheet.name.day(), spanish),
                     results::PrintedBody(sheet, spanish), spanish, charts, error);
}

QByteArray DocumentPdf(const std::string& title, const std::string& day, const std::string& printedHtml, bool spanish,
                       const std::vector<DocumentChart>& charts, std::string& error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool ok = true;
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, kMarginsMm, QPageLayout::Millimeter));
    writer.setTitle(Q(title));
    writer.setCreator(QStringLiteral("TRELVIX"));
    QPainter painter;
    if (!painter.begin(&writer)) {
      error = "the PDF writer did not start";
      return {};
    }
    Pages pages(writer, painter, Q(title), Q(day), spanish);

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    QFont font(QStringLiteral("Sans Serif"), 9);
    font.setStyleHint(QFont::SansSerif);
    font.setLetterSpacing(QFont::AbsoluteSpacing, kLetterSpacing);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setHtml(Q(printedHtml));
    {
      // Headings take a font of their own, without the default's spacing.
      QTextCursor all(&document);
      all.select(QTextCursor::Document);
      QTextCharFormat spacing;
      spacing.setFontLetterSpacingType(QFont::AbsoluteSpacing);
      spacing.setFontLetterSpacing(kLetterSpacing);
      all.mergeCharFormat(spacing);
    }
    const QRectF body = pages.Body();
    document.setPageSize(body.size());
    const int textPages = document.pageCount();
    const int total = textPages + (charts.empty() ? 0 : 1);

    for (int i = 0; i < textPages && ok; ++i) {
      ok = pages.Next();
      painter.save();
      painter.translate(body.left(), body.top() - i * body.height());
      QAbstractTextDocumentLayout::PaintContext context;
      context.clip = QRectF(0, i * body.height(), body.width(), body.height());
      painter.setClipRect(context.clip);
      document.documentLayout()->draw(&painter, context);
      painter.restore();
      pages.Frame(i + 1, total);
    }
    // The charts, one above the other, drawn as lines rather than pictures.
    if (!charts.empty() && ok) {
      ok = pages.Next();
      QFont heading(font);
      heading.setPointSizeF(13);
      heading.setBold(true);
      const double headingHeight = QFontMetricsF(heading, &writer).height() * 1.6;
      const double slot = body.height() / 2;
      for (std::size_t i = 0; i < charts.size() && i < 2; ++i) {
        const QRectF area(body.left(), body.top() + slot * static_cast<double>(i), body.width(), slot);
        painter.setFont(heading);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), area.top(), area.width(), headingHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         charts[i].title);
        const QRectF room = area.adjusted(0, headingHeight, 0, -headingHeight * 0.3);
        // The heading above says what the chart's own title would.
        QChart& chart = *charts[i].chart;
        const QString ownTitle = chart.title();
        chart.setTitle(QString());
        // A chart lays out its title when its size changes, not when the title does.
        chart.resize(QSizeF(charts::kLayoutSize) / 2);
        charts::DrawChart(chart, painter, charts::FittedRect(room, charts::kLayoutSize), QSizeF(charts::kLayoutSize));
        chart.setTitle(ownTitle);
        chart.resize(QSizeF(charts::kLayoutSize) / 2);
      }
      pages.Frame(total, total);
    }
    if (!painter.end()) ok = false;
  }
  // A document cut short has no trailer: it would open broken or not at all.
  if (!ok || !bytes.startsWith("%PDF-") || !bytes.right(64).contains("%%EOF")) {
    error = "the PDF document could not be finished";
    return {};
  }
  return bytes;
}

}  // namespace exports
