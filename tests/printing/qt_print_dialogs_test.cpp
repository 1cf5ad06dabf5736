// The real font dialog, answered by the test as soon as it is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDialog>
#include <QTimer>
#include <functional>

#include "printing/print_dialogs.h"

namespace {

// Runs `answer` on the font dialog once it is the active modal window.
void AnswerFontDialog(std::function<void(QFontDialog*)> answer) {
  QTimer::singleShot(0, [answer] {
    if (auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget())) {
      answer(dialog);
    } else {
      AnswerFontDialog(answer);
    }
  });
}

TEST(QtPrintDialogs, TheFontDialogStartsFromThePresetAndReturnsTheChoice) {
  printing::QtPrintDialogs dialogs;
  QFont seen;
  AnswerFontDialog([&seen](QFontDialog* dialog) {
    seen = dialog->currentFont();
    dialog->setCurrentFont(QFont(QStringLiteral("DejaVu Sans"), 18));
    dialog->accept();
  });
  const auto chosen = dialogs.ChooseFont(QFont(QStringLiteral("DejaVu Sans Mono"), 14), nullptr);
  EXPECT_EQ(seen.family(), "DejaVu Sans Mono");
  EXPECT_EQ(seen.pointSize(), 14);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->family(), "DejaVu Sans");
  EXPECT_EQ(chosen->pointSize(), 18);
}

TEST(QtPrintDialogs, CancellingTheFontDialogReturnsNothing) {
  printing::QtPrintDialogs dialogs;
  AnswerFontDialog([](QFontDialog* dialog) { dialog->reject(); });
  EXPECT_FALSE(dialogs.ChooseFont(QFont(QStringLiteral("DejaVu Sans"), 10), nullptr).has_value());
}

}  // namespace
