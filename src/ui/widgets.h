#pragma once
// Small helpers for building the windows at fixed pixel places with the
// program's fonts and colours.

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QRect>
#include <QString>
#include <functional>
#include <string>

#include "records/words.h"

namespace ui {

// A font of the given family at a size in pixels.
QFont PixelFont(const char* family, int pixels, bool bold = false);

// The three fonts the race director's window is built with.
QFont SmallFont();   // "Small Fonts" 9 px: panel captions and small buttons
QFont CellFont();    // "Courier New" 11 px: the white number cells
QFont PanelFont();   // "Arial" 13 px bold: bottom and message panels

// Sets the colour of a role in every state (enabled, disabled, inactive), so
// a disabled control keeps its colour.
void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour);

// A caption that takes the size of its text, at x, y.
QLabel* MakeCaption(QWidget* parent, const char* name, int x, int y, const QFont& font);
// Sets a caption's text and fits its size to it, at most maxWidth wide (0: any width).
void SetCaption(QLabel* label, const std::string& text, int maxWidth = 0);
// A fixed-size text cell with a background colour.
QLabel* MakeCell(QWidget* parent, const QString& name, const QRect& place, const QFont& font,
                 Qt::Alignment alignment, const QColor& background);
// A raised panel showing one line of text.
QLabel* MakeTextPanel(QWidget* parent, const char* name, const QRect& place, Qt::Alignment alignment);
// A raised panel that holds other controls.
QFrame* MakeFrame(QWidget* parent, const QString& name, const QRect& place);

// A label that reports mouse clicks.
class ClickableLabel final : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> onClick;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

inline QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// Each window keeps its texts in a table of Spanish/English pairs at the
// top of its file, and shows one with the language flag.
using records::Words;
inline QString Tr(const Words& words, bool spanish) { return QString::fromUtf8(words.Pick(spanish)); }

}  // namespace ui
