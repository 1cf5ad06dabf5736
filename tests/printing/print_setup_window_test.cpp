// TForm8, the print setup window, with its dialogs answered by the test.
#include "printing/print_setup_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "recording_boxes.h"
#include "support/fake_print_dialogs.h"

namespace {

class PrintSetupWindowTest : public ::testing::Test {
 protected:
  QString Text(const char* name) const {
    if (auto* label = form.findChild<QLabel*>(QString::fromLatin1(name))) return label->text();
    if (auto* button = form.findChild<QAbstractButton*>(QString::fromLatin1(name))) return button->text();
    ADD_FAILURE() << "no control " << name;
    return {};
  }
  std::vector<bool> Ticks() const {
    std::vector<bool> ticks;
    for (int i = 1; i <= 4; ++i)
      ticks.push_back(form.findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(i))->isChecked());
    return ticks;
  }
  // Opens the window modally and closes it again once it is up.
  void Open(bool spanish) {
    QTimer::singleShot(0, &form, [this] { form.reject(); });
    form.ShowModal(spanish);
  }

  printing::PrinterSettings settings;
  testing_support::FakePrintDialogs dialogs;
  printing_tests::RecordingBoxes boxes;
  printing::TForm8 form{settings, dialogs, boxes};
};

TEST_F(PrintSetupWindowTest, AfterStartUpShowsCourierNew14DefaultPitchAndNoStyle) {
  Open(true);
  EXPECT_EQ(form.windowTitle(), "Impresora");
  EXPECT_EQ(Text("Label4"), "Courier New");
  EXPECT_EQ(Text("Label5"), "14");
  EXPECT_EQ(Text("Label6"), "Por defecto");
  EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, false, false}));
  EXPECT_FALSE(form.findChild<QWidget*>("Panel1")->isEnabled());
}

TEST_F(PrintSetupWindowTest, TextsFollowTheLanguageOnEveryOpening) {
  Open(true);
  EXPECT_EQ(Text("Button1"), "Selección");
  EXPECT_EQ(Text("Button2"), "Letra");
  EXPECT_EQ(Text("Label1"), "Actual");
  EXPECT_EQ(Text("Label3"), "Fuente");
  EXPECT_EQ(Text("CheckBox1"), "Negrita");
  EXPECT_EQ(Text("CheckBox4"), "Tachado");
  Open(false);
  EXPECT_EQ(form.windowTitle(), "Impresora");
  EXPECT_EQ(Text("Button1"), "Selection");
  EXPECT_EQ(Text("Button2"), "Font");
  EXPECT_EQ(Text("Label1"), "Present");
  EXPECT_EQ(Text("Label3"), "Font");
  EXPECT_EQ(Text("Label6"), "Default");
  EXPECT_EQ(Text("CheckBox2"), "Italic");
  EXPECT_EQ(Text("CheckBox3"), "Underline");
  EXPECT_EQ(form.findChild<QPushButton*>("Button2")->toolTip(),
            "Recommended fixed font, as Courier, of about 14 points");
}

TEST_F(PrintSetupWindowTest, ABoldItalicFontTicksTheFirstTwoBoxesAtOnce) {
  Open(true);
  QFont chosen(QStringLiteral("DejaVu Sans"), 10);
  chosen.setBold(true);
  chosen.setItalic(true);
  dialogs.fonts.push_back(chosen);
  form.Button2Click();
  EXPECT_EQ(Ticks(), (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(Text("Label4"), "DejaVu Sans");
  EXPECT_EQ(Text("Label5"), "10");
  EXPECT_EQ(settings.Font().family(), "DejaVu Sans");
}

TEST_F(PrintSetupWindowTest, TheFontDialogStartsFromThePrinterFont) {
  Open(false);
  form.Button2Click();
  ASSERT_EQ(dialogs.presets.size(), 1u);
  EXPECT_EQ(dialogs.presets[0].family(), "Courier New");
  EXPECT_EQ(dialogs.presets[0].pointSize(), 14);
}

TEST_F(PrintSetupWindowTest, ThePitchWordFollowsTheChosenFont) {
  Open(true);
  QFont underlined(QStringLiteral("DejaVu Sans Mono"), 12);
  underlined.setUnderline(true);
  underlined.setStrikeOut(true);
  dialogs.fonts = {underlined, QFont(QStringLiteral("DejaVu Sans"), 12)};
  form.Button2Click();
  EXPECT_EQ(Text("Label6"), "Fijo");
  EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, true, true}));
  form.Button2Click();
  EXPECT_EQ(Text("Label6"), "Variable");
  EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, false, false}));
}

TEST_F(PrintSetupWindowTest, CancellingTheFontDialogChangesNothing) {
  Open(true);
  form.Button2Click();
  EXPECT_EQ(dialogs.presets.size(), 1u);
  EXPECT_EQ(settings.Font().family(), "Courier New");
  EXPECT_EQ(settings.Font().pointSize(), 14);
  EXPECT_EQ(settings.FontPitch(), printing::Pitch::kDefault);
  EXPECT_EQ(Text("Label4"), "Courier New");
  EXPECT_EQ(Text("Label6"), "Por defecto");
}

// These tests run with no print system.
TEST_F(PrintSetupWindowTest, WithoutAPrinterEveryOpeningSaysSo) {
  Open(true);
  Open(false);
  EXPECT_EQ(boxes.shown, (std::vector<std::string>(2, "There is no default printer currently selected")));
  EXPECT_EQ(Text("Label2"), "");
  EXPECT_EQ(Text("Label4"), "Courier New");
}

TEST_F(PrintSetupWindowTest, ThePrinterChosenInTheSetupDialogIsShownCutTo38Characters) {
  Open(true);
  boxes.shown.clear();
  const QString file = QStringLiteral("/tmp/reports/classification-of-the-final-race.pdf");
  dialogs.onPrinterDialog = [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
  };
  form.Button1Click();
  EXPECT_EQ(dialogs.printerDialogs, 1);
  EXPECT_EQ(Text("Label2"), file.left(38));
  EXPECT_EQ(Text("Label2").size(), 38);
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
