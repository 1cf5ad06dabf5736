#include "ui/widgets.h"

#include <QMouseEvent>

namespace ui {

namespace {

// Stand-ins for the Windows faces the window was laid out with, narrow ones
// first, so texts keep the widths they were placed for.
void InstallFontStandIns() {
  static const bool installed = [] {
    QFont::insertSubstitutions(QStringLiteral("Small Fonts"),
                               {QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("Arial Narrow"),
                                QStringLiteral("DejaVu Sans Condensed")});
    QFont::insertSubstitutions(QStringLiteral("System"),
                               {QStringLiteral("Nimbus Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    return true;
  }();
  (void)installed;
}

}  // namespace

QFont PixelFont(const char* family, int pixels, bool bold) {
  InstallFontStandIns();
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QFont SmallFont() { return PixelFont("Small Fonts", 9); }
QFont CellFont() { return PixelFont("Courier New", 11); }
QFont PanelFont() { return PixelFont("Arial", 13, true); }

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  // Rendered on every pass and tick: a colour that stays costs nothing.
  const QPalette& now = widget->palette();
  if (now.color(QPalette::Active, role) == colour && now.color(QPalette::Inactive, role) == colour &&
      now.color(QPalette::Disabled, role) == colour &&
      (role != QPalette::Window || widget->autoFillBackground())) {
    return;
  }
  QPalette palette = widget->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) palette.setColor(group, role, colour);
  widget->setPalette(palette);
  if (role == QPalette::Window) widget->setAutoFillBackground(true);
}

QLabel* MakeCaption(QWidget* parent, const char* name, int x, int y, const QFont& font) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  label->move(x, y);
  return label;
}

QLabel* MakeCell(QWidget* parent, const QString& name, const QRect& place, const QFont& font,
                 Qt::Alignment alignment, const QColor& background) {
  auto* cell = new QLabel(parent);
  cell->setObjectName(name);
  cell->setGeometry(place);
  cell->setFont(font);
  cell->setAlignment(alignment | Qt::AlignVCenter);
  SetColour(cell, QPalette::Window, background);
  SetColour(cell, QPalette::WindowText, Qt::black);
  return cell;
}

QLabel* MakeTextPanel(QWidget* parent, const char* name, const QRect& place, Qt::Alignment alignment) {
  auto* panel = new QLabel(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setGeometry(place);
  panel->setFont(PanelFont());
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setAlignment(alignment | Qt::AlignVCenter);
  panel->setIndent(1);
  SetColour(panel, QPalette::WindowText, Qt::black);
  return panel;
}

QFrame* MakeFrame(QWidget* parent, const QString& name, const QRect& place) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setGeometry(place);
  frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
  return frame;
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && onClick) onClick();
  QLabel::mousePressEvent(event);
}

void SetCaption(QLabel* label, const std::string& text, int maxWidth) {
  label->setText(Q(text));
  label->adjustSize();
  if (maxWidth > 0 && label->width() > maxWidth) label->resize(maxWidth, label->height());
}

}  // namespace ui
