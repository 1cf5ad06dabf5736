// The events panel: seven event buttons per car, the manual text and its
// button, the event counter.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <algorithm>

#include "events/event_types.h"
#include "ui/main_window.h"
#include "ui/widgets.h"

namespace ui {

namespace {

// Column x of the event buttons and of their labels, in row order R, P, B, G, I, S, Z.
constexpr std::array<int, events::kEventKinds> kButtonX = {4, 32, 60, 88, 116, 144, 172};
constexpr std::array<int, events::kEventKinds> kColumnLabelX = {6, 34, 62, 86, 118, 146, 174};
// The column labels' names; Box, StGo and Zurb never change with the language.
constexpr std::array<const char*, events::kEventKinds> kColumnLabelNames = {"Label79", "Label80", "Label83", "Label84",
                                                                            "Label82", "Label85", "Label94"};

// A missed crossing: armed here, given to the car whose laps are clicked next.
constexpr Words kAddLap{"+1 V", "+1 L"};
constexpr Words kAddLapHint{"Vuelta no marcada: pulsa aquí y después en las vueltas del coche",
                            "Missed crossing: click here, then on the car's laps"};

}  // namespace

void TForm1::BuildEventsPanel() {
  panel6_ = MakeFrame(this, QStringLiteral("Panel6"), QRect(432, 24, 201, 365));
  panel6_->setFont(SmallFont());

  MakeCaption(panel6_, "Label81", 34, 4, PixelFont("Arial", 11, true));
  MakeCaption(panel6_, "Label86", 10, 24, SmallFont());
  label87_ = MakeCell(panel6_, QStringLiteral("Label87"), QRect(62, 20, 43, 16), CellFont(), Qt::AlignRight,
                      Qt::white);

  auto* manual = new QPushButton(QStringLiteral("Manual"), panel6_);
  manual->setObjectName(QStringLiteral("Button74"));
  manual->setGeometry(156, 20, 41, 16);
  manual->setFont(SmallFont());
  manual->setFocusPolicy(Qt::NoFocus);
  connect(manual, &QPushButton::clicked, this, [this] { Button74Click(); });

  // Mouse only: no key reaches it, so a lap is never added by a key pressed at speed.
  addLap_ = new QPushButton(panel6_);
  addLap_->setObjectName(QStringLiteral("AddLapButton"));
  addLap_->setGeometry(110, 20, 42, 16);
  addLap_->setFont(SmallFont());
  addLap_->setFocusPolicy(Qt::NoFocus);
  addLap_->setCheckable(true);

  memo1_ = new QPlainTextEdit(panel6_);
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setGeometry(0, 44, 201, 61);
  memo1_->setFont(CellFont());
  memo1_->setTabChangesFocus(true);
  memo1Text_ = memo1_->toPlainText();
  connect(memo1_, &QPlainTextEdit::textChanged, this, [this] { LimitMemo1(); });
  // The caret of the text as last accepted, not of an edit about to be refused.
  connect(memo1_, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    if (memo1_->toPlainText() == memo1Text_) memo1Caret_ = memo1_->textCursor().position();
  });

  for (std::size_t i = 0; i < kColumnLabelX.size(); ++i) {
    QLabel* label = MakeCaption(panel6_, kColumnLabelNames[i], kColumnLabelX[i], 110, SmallFont());
    label->setText(QString::fromLatin1(events::EventTypes()[i].column.es));
    label->adjustSize();
  }

  for (int n = 1; n <= race::kCars; ++n) {
    QFrame* row = MakeFrame(panel6_, QStringLiteral("Panel") + QString::number(n + 6),
                            QRect(0, 124 + 20 * (n - 1), 201, 16));
    row->setFrameStyle(QFrame::NoFrame);
    for (std::size_t i = 0; i < events::EventTypes().size(); ++i) {
      const events::EventKind kind = events::EventTypes()[i].kind;
      const int number = events::ButtonNumber(kind, n);
      auto* button = new QPushButton(Q(events::ButtonCaption(kind, n)), row);
      button->setObjectName(QStringLiteral("Button") + QString::number(number));
      button->setGeometry(kButtonX[i], 0, 24, 16);
      button->setFont(SmallFont());
      // The focus stays with the memo, where the operator types manual texts.
      button->setFocusPolicy(Qt::NoFocus);
      connect(button, &QPushButton::clicked, this, [this, number] { EventButtonClick(number); });
    }
    eventRow_[n] = row;
  }
}

void TForm1::LimitMemo1() {
  // At most 112 characters, as a length-limited box keeps them: a keystroke
  // into a full memo is refused with the text and the caret as they were, and
  // of a paste only what fits is taken.
  const QString text = memo1_->toPlainText();
  const int max = events::kManualTextMaxLength;
  if (text.size() <= max) {
    memo1Text_ = text;
    return;
  }
  const QString& before = memo1Text_;
  // The edit replaced before[prefix, before.size() - suffix) with text[prefix, text.size() - suffix).
  int prefix = 0;
  while (prefix < before.size() && prefix < text.size() && before[prefix] == text[prefix]) ++prefix;
  int suffix = 0;
  while (suffix < before.size() - prefix && suffix < text.size() - prefix &&
         before[before.size() - 1 - suffix] == text[text.size() - 1 - suffix]) {
    ++suffix;
  }
  const int removed = static_cast<int>(before.size()) - prefix - suffix;
  const int room = std::max(0, max - (static_cast<int>(before.size()) - removed));
  const QString inserted = text.mid(prefix, text.size() - prefix - suffix).left(room);
  const QString kept = before.left(prefix) + inserted + before.right(suffix);
  const int caret = kept == before ? memo1Caret_ : prefix + static_cast<int>(inserted.size());
  {
    const QSignalBlocker quiet(memo1_);
    memo1_->setPlainText(kept);
  }
  memo1Text_ = kept;
  QTextCursor cursor = memo1_->textCursor();
  cursor.setPosition(std::min(caret, static_cast<int>(kept.size())));
  memo1_->setTextCursor(cursor);
}

void TForm1::RenderEventsPanel() {
  const race::RaceScreen& s = race_.Screen();
  label87_->setText(Q(s.eventCount));
  addLap_->setText(Tr(kAddLap, race_.spanish()));
  addLap_->setToolTip(Tr(kAddLapHint, race_.spanish()));
  if (!race_.State().Running) addLap_->setChecked(false);
  for (int n = 1; n <= race::kCars; ++n) eventRow_[n]->setEnabled(s.cars[n].eventRowEnabled);
}

void TForm1::EventButtonClick(int buttonNumber) {
  if (const auto target = events::ButtonTargetOf(buttonNumber)) race_.EventButton(target->kind, target->car);
  memo1_->setFocus();
}

void TForm1::Button74Click() {
  // The memo's lines joined with nothing between them; a pasted TAB would
  // split the events file's fields, so it becomes a blank.
  std::vector<std::string> lines;
  for (const QString& line : memo1_->toPlainText().split(QLatin1Char('\n'))) {
    lines.push_back(QString(line).replace(QLatin1Char('\t'), QLatin1Char(' ')).toStdString());
  }
  if (race_.ManualEvent(events::JoinManualText(lines))) memo1_->clear();
  memo1_->setFocus();
}

}  // namespace ui
