// The main window's "Ficheros" button opens the files browser over the
// main window's record folder, in the language of the moment.
#include "browser_fixture.h"
#include "printing/print_setup_window.h"
#include "support/fake_print_dialogs.h"
#include "window_fixture.h"

namespace {

using testing_support::RaceRecorder;
using testing_support::WindowTest;

class FilesButton : public WindowTest {
 protected:
  testing_support::PagePrinter printer;
};

TEST_F(FilesButton, OpensTheBrowserOnTheRecordFolderInTheCurrentLanguage) {
  {
    RaceRecorder day(dir.path(), "261205");
    day.Race("Ayer", 1);
  }
  Open();
  ui::TForm2 form2({lister, boxes, printer, dir.path()}, window.get());
  window->SetFilesBrowser(&form2);
  ClickLabel("Label98");  // English

  std::string title;
  std::string nextFile;
  std::string races;
  testing_support::WhileModal("Form2", [&](QWidget* browser) {
    title = browser->windowTitle().toStdString();
    nextFile = browser->findChild<QLabel*>(QStringLiteral("NextFileValue"))->text().toStdString();
    races = browser->findChild<QLabel*>(QStringLiteral("RacesTitle"))->text().toStdString();
  });
  Click("Button88");
  EXPECT_EQ(title, "Files");
  EXPECT_EQ(nextFile, "26120601");
  EXPECT_EQ(races, "Races: 1");
  // Back in the main window the start button has the focus.
  EXPECT_EQ(window->focusWidget(), Find("Button1"));
}

TEST_F(FilesButton, PrinterButtonOpensThePrintSetupInTheBrowsersLanguage) {
  Open();
  ui::TForm2 form2({lister, boxes, printer, dir.path()}, window.get());
  printing::PrinterSettings settings;
  testing_support::FakePrintDialogs dialogs;
  printing::TForm8 form8(settings, dialogs, boxes, &form2);
  form2.SetPrintSetup(&form8);
  window->SetFilesBrowser(&form2);

  std::string fontHeading;
  testing_support::WhileModal("Form2", [&](QWidget* browser) {
    testing_support::WhileModal("Form8", [&](QWidget* setup) {
      fontHeading = setup->findChild<QLabel*>(QStringLiteral("Label3"))->text().toStdString();
    });
    QTest::mouseClick(browser->findChild<QAbstractButton*>(QStringLiteral("PrinterButton")), Qt::LeftButton);
  });
  Click("Button88");
  EXPECT_EQ(fontHeading, "Fuente");
}

}  // namespace
