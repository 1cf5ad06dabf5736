// The files browser over races recorded by the program itself: which day
// and race it chooses, what it shows of them, the order of the passes, the
// events button, bad record files and the three printed reports.
#include <QGroupBox>
#include <QListWidget>
#include <QRadioButton>

#include "browser_fixture.h"

namespace {

using testing_support::BrowserTest;
using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

class FilesBrowser : public BrowserTest {
 protected:
  QTableWidget* Classification() const { return B<QTableWidget>("ClassificationGrid"); }
  QTableWidget* Passes() const { return B<QTableWidget>("PassesGrid"); }
  QTableWidget* Races() const { return B<QTableWidget>("RacesGrid"); }
  QListWidget* Days() const { return B<QListWidget>("DayList"); }
  std::string Description() const { return Text(browser.get(), "DescriptionValue"); }
  std::string Details() const { return Text(browser.get(), "DetailsValue"); }
  void PickDay(int row) const {
    QListWidget* days = Days();
    QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualItemRect(days->item(row)).center());
  }
};

TEST_F(FilesBrowser, OpensOnTheLatestDayAndItsLastRace) {
  RecordTwoDays();
  Open();
  EXPECT_EQ(browser->windowTitle(), "Ficheros");
  ASSERT_EQ(Days()->count(), 2);
  EXPECT_EQ(Days()->item(0)->text(), "261205");
  EXPECT_EQ(Days()->item(1)->text(), "261206");
  EXPECT_EQ(Days()->currentRow(), 1);
  EXPECT_EQ(Days()->height(), 2 * 14);
  EXPECT_EQ(Text(browser.get(), "DaysTitle"), "Días: 2");
  EXPECT_EQ(Text(browser.get(), "NextFileValue"), "26120604");

  EXPECT_EQ(Headings(Races()), (Texts{"Cra.", "Mtos.", "Coches", "Hora inicio"}));
  EXPECT_EQ(Cells(Races()), (Rows{{"   1", "   5", "   2", "18h05'03\"045"},
                                  {"   2", "   5", "   2", "18h06'10\"920"},
                                  {"   3", "   5", "   2", "18h06'56\"170"}}));
  EXPECT_EQ(Text(browser.get(), "RacesTitle"), "Carreras: 3");
  EXPECT_EQ(Races()->currentRow(), 2);
  EXPECT_EQ(Races()->currentColumn(), 0);

  // Race 3 never finished: no finish line and no classification rows.
  EXPECT_EQ(Description(), "Never. .");
  EXPECT_EQ(Details(), "Carrera 03 (5 minutos 2 coches) iniciada a las 18h6'56\"170.");
  EXPECT_EQ(Cells(Classification()), (Rows{{"", "", "", "", ""}}));
  EXPECT_EQ(Column(Passes(), 0), (Texts{"   1", "   2", "   3", "   4"}));
  EXPECT_EQ(Text(browser.get(), "PassesTitle"), "Pasos: 4");
  EXPECT_EQ(browser->EventsFileName(), "26120603.inc");
}

TEST_F(FilesBrowser, PickingARaceLoadsItsFilesAndItsEvents) {
  RecordTwoDays();
  Open();
  ClickCell(Races(), 0, 2);
  EXPECT_EQ(Description(), "Final. Crono individual. Carrera parada a 01'07\"875.");
  EXPECT_EQ(Details(), "Carrera 01 (5 minutos 2 coches) iniciada a las 18h5'3\"45.");
  EXPECT_EQ(Headings(Classification()), (Texts{"Pto.", "C.", "Vueltas", "T. total", "V. ráp."}));
  EXPECT_EQ(Cells(Classification()), (Rows{{"   1", "  3", "     2", "00'45\"250", " 22,625"},
                                           {"   2", "  1", "     2", "00'45\"250", " 22,625"}}));
  EXPECT_EQ(Headings(Passes()), (Texts{"Paso", "C.", "Vuelta", "Tiempo", "T. total"}));
  EXPECT_EQ(Cells(Passes()).front(), (Texts{"   1", "  3", "     0", "  20,125", "  00'00\"000"}));
  EXPECT_EQ(Text(browser.get(), "PassesTitle"), "Pasos: 6");
  EXPECT_EQ(browser->EventsFileName(), "26120601.inc");

  // The events button opens the review of race 1 with its two events.
  std::string shownFile;
  std::string count;
  testing_support::WhileModal("Form3", [&](QWidget* form3) {
    shownFile = Text(form3, "Label4");
    count = Text(form3, "Label1");
  });
  Click(browser.get(), "EventsButton");
  EXPECT_EQ(shownFile, "26120601.inc");
  EXPECT_EQ(count, "Incidencias: 2");
  EXPECT_TRUE(boxes.shown.empty());

  // Another day: its races, and its last race loaded.
  PickDay(0);
  EXPECT_EQ(Text(browser.get(), "RacesTitle"), "Carreras: 2");
  EXPECT_EQ(Races()->currentRow(), 1);
  EXPECT_EQ(Description(), "Tarde. Crono individual. Carrera parada a 00'22\"625.");
  EXPECT_EQ(browser->EventsFileName(), "26120502.inc");
}

TEST_F(FilesBrowser, PassesByCarOrByPassAndBackToByPassForAnotherRace) {
  RecordTwoDays();
  Open();
  ClickCell(Races(), 0);
  Click(browser.get(), "ByCar");
  EXPECT_EQ(Column(Passes(), 1), (Texts{"  1", "  1", "  1", "  3", "  3", "  3"}));
  EXPECT_EQ(Column(Passes(), 0), (Texts{"   2", "   4", "   6", "   1", "   3", "   5"}));
  Click(browser.get(), "ByPass");
  EXPECT_EQ(Column(Passes(), 0), (Texts{"   1", "   2", "   3", "   4", "   5", "   6"}));

  Click(browser.get(), "ByCar");
  ClickCell(Races(), 1);
  EXPECT_TRUE(B<QRadioButton>("ByPass")->isChecked());
  EXPECT_EQ(Column(Passes(), 1), (Texts{"  3", "  1", "  3", "  1"}));

  // The choice outlives the window; a race with a passes file sets it back.
  Click(browser.get(), "ByCar");
  browser->hide();
  ASSERT_EQ(std::remove(dir.File("26120603.pss").c_str()), 0);
  Open();
  EXPECT_TRUE(B<QRadioButton>("ByCar")->isChecked());
  EXPECT_EQ(Cells(Passes()), (Rows{{"", "", "", "", ""}}));
  EXPECT_EQ(Text(browser.get(), "PassesTitle"), "Pasos: ");
  ClickCell(Races(), 0);
  EXPECT_TRUE(B<QRadioButton>("ByPass")->isChecked());
}

TEST_F(FilesBrowser, StoppedRaceUnderCommonTimingShowsItsFinishLine) {
  RecordTwoDays();
  Open();
  ClickCell(Races(), 1);
  EXPECT_EQ(Description(), "Common. Crono común. Carrera parada a 00'45\"250.");
  EXPECT_EQ(Details(), "Carrera 02 (5 minutos 2 coches) iniciada a las 18h6'10\"920.");
}

TEST_F(FilesBrowser, TextsFollowTheLanguageOfEachOpening) {
  RecordTwoDays();
  Open(false);
  EXPECT_EQ(browser->windowTitle(), "Files");
  EXPECT_EQ(Text(browser.get(), "DaysTitle"), "Days: 2");
  EXPECT_EQ(Text(browser.get(), "RacesTitle"), "Races: 3");
  EXPECT_EQ(Text(browser.get(), "PassesTitle"), "Passes: 4");
  EXPECT_EQ(Text(browser.get(), "NextFileLabel"), "Next file");
  EXPECT_EQ(Text(browser.get(), "DescriptionLabel"), "Description");
  EXPECT_EQ(Text(browser.get(), "DetailsLabel"), "Details");
  EXPECT_EQ(Text(browser.get(), "ClassificationTitle"), "Classification");
  EXPECT_EQ(B<QGroupBox>("OrderChoice")->title(), "Passes");
  EXPECT_EQ(B<QRadioButton>("ByCar")->text(), "By car");
  EXPECT_EQ(B<QAbstractButton>("EventsButton")->text(), "Events");
  EXPECT_EQ(B<QAbstractButton>("PrinterButton")->text(), "Printer");
  EXPECT_EQ(B<QAbstractButton>("PrintRaces")->text(), "Print");
  EXPECT_EQ(Headings(Classification()), (Texts{"Pos.", "C.", "Laps", "Total t.", "Fast lap"}));
  EXPECT_EQ(Headings(Passes()), (Texts{"Pass", "C.", "Lap", "Time", "Total t."}));
  EXPECT_EQ(Headings(Races()), (Texts{"Race", "Mtes.", "Cars", "Hour started"}));

  Open(true);
  EXPECT_EQ(browser->windowTitle(), "Ficheros");
  EXPECT_EQ(B<QRadioButton>("ByCar")->text(), "Por coche");
  EXPECT_EQ(Headings(Races()), (Texts{"Cra.", "Mtos.", "Coches", "Hora inicio"}));
}

TEST_F(FilesBrowser, MissingEventsFileIsReportedInTheLanguage) {
  RecordTwoDays();
  ASSERT_EQ(std::remove(dir.File("26120603.inc").c_str()), 0);
  Open();
  EXPECT_EQ(browser->EventsFileName(), "26120603.inc");
  Click(browser.get(), "EventsButton");
  Open(false);
  Click(browser.get(), "EventsButton");
  EXPECT_EQ(BoxTexts(),
            (Texts{"No existe el correspondiente fichero de incidencias", "Corresponding events file not found"}));
  EXPECT_FALSE(review->isVisible());
}

TEST_F(FilesBrowser, EmptyFolderHasNoDaysAndLoadsNothing) {
  Open(false, "26120601");
  EXPECT_EQ(Days()->count(), 0);
  EXPECT_EQ(Text(browser.get(), "DaysTitle"), "Days: 0");
  EXPECT_EQ(Cells(Races()), (Rows{{"", "", "", ""}}));
  EXPECT_EQ(Description(), "");
  Click(browser.get(), "EventsButton");
  EXPECT_EQ(BoxTexts(), (Texts{"Corresponding events file not found"}));
}

TEST_F(FilesBrowser, RacesFileOfAnyLetterCaseIsFound) {
  RecordTwoDays();
  ASSERT_EQ(std::rename(dir.File("26120500.TXT").c_str(), dir.File("26120500.txt").c_str()), 0);
  ASSERT_EQ(std::rename(dir.File("26120501.cls").c_str(), dir.File("26120501.CLS").c_str()), 0);
  Open();
  ASSERT_EQ(Days()->count(), 2);
  PickDay(0);
  EXPECT_EQ(Text(browser.get(), "RacesTitle"), "Carreras: 2");
  ClickCell(Races(), 0);
  EXPECT_EQ(Description(), "Ayer. Crono individual. Carrera parada a 00'22\"625.");
}

TEST_F(FilesBrowser, MalformedLinesAreReportedAndStillShown) {
  RecordTwoDays();
  dir.Write("26120603.pss", dir.Read("26120603.pss") + "5\t3\t2\r\n");
  dir.Write("26120500.TXT", dir.Read("26120500.TXT") + "3\t10\t1\t19h00'00\"000\r\n");
  Open();
  // The short passes line keeps the fields it lacks from the line before.
  EXPECT_EQ(Cells(Passes()).back(), (Texts{"   5", "  3", "     2", "  22,625", "  00'22\"625"}));
  EXPECT_EQ(Text(browser.get(), "PassesTitle"), "Pasos: 5");
  PickDay(0);
  EXPECT_EQ(BoxTexts(),
            (Texts{"Algo raro: no Paso-Coche-Vuelta-Tiempo-T. Total", "Algo raro: no Cra-Minutos-Coches-Hora-Desc."}));
  EXPECT_EQ(Text(browser.get(), "RacesTitle"), "Carreras: 3");
  EXPECT_EQ(Cells(Races()).back(), (Texts{"   3", "  10", "   1", "19h00'00\"000"}));
  // Race 3 of that day has no files: what was shown stays.
  EXPECT_EQ(Text(browser.get(), "PassesTitle"), "Pasos: 5");
}

TEST_F(FilesBrowser, UnconvertibleNumberLeavesTheDisplayAsItWas) {
  RecordTwoDays();
  dir.Write("26120602.pss", dir.Read("26120602.pss") + "5\t3\tx\t1,0\t00'50\"000\r\n");
  dir.Write("26120602.cls", dir.Read("26120602.cls") + "3\t7\t1\t00'10\"000\t1.5\r\n");
  Open();
  ClickCell(Races(), 0);
  const Rows racePasses = Cells(Passes());
  const Rows raceClassification = Cells(Classification());
  ClickCell(Races(), 1);
  EXPECT_EQ(BoxTexts(), (Texts{"'1.5' is not a valid floating point value", "'x' is not a valid integer value"}));
  EXPECT_EQ(Cells(Passes()), racePasses);
  EXPECT_EQ(Cells(Classification()), raceClassification);
  EXPECT_EQ(Description(), "Final. Crono individual. Carrera parada a 01'07\"875.");
  // The passes held are still the ones shown: ordering them shows race 1's.
  Click(browser.get(), "ByCar");
  EXPECT_EQ(Column(Passes(), 0), (Texts{"   2", "   4", "   6", "   1", "   3", "   5"}));
  EXPECT_EQ(browser->EventsFileName(), "26120602.inc");
}

TEST_F(FilesBrowser, DayWhoseRacesFileStopsKeepsTheRacesShown) {
  RecordTwoDays();
  dir.Write("26120500.TXT", dir.Read("26120500.TXT") + "3\t5\t\t19h00'00\"000\tNoche\r\n");
  Open();
  PickDay(0);
  EXPECT_EQ(BoxTexts(), (Texts{"'' is not a valid integer value"}));
  EXPECT_EQ(Text(browser.get(), "RacesTitle"), "Carreras: 3");
  // The rows shown are still the races of 261206, and load as such.
  ClickCell(Races(), 0);
  EXPECT_EQ(Description(), "Final. Crono individual. Carrera parada a 01'07\"875.");
  EXPECT_EQ(browser->EventsFileName(), "26120601.inc");
}

TEST_F(FilesBrowser, GarbageInEveryRecordFileNeverBreaksTheWindow) {
  RecordTwoDays();
  const std::string garbage = std::string("\t\t\t\t\t\t\t\t\r\n\xff\xfe") + std::string(1, '\0') + "--\t\n" +
                              std::string(600, 'x') + "\r\r\n99999\t-1\t300\t1e400\t\t\t\n";
  for (const char* name : {"26120600.TXT", "26120603.cls", "26120603.pss", "26120603.inc"}) {
    dir.Write(name, garbage);
  }
  dir.Write("26110100.TXT", "");
  Open();
  EXPECT_EQ(Days()->count(), 3);
  EXPECT_FALSE(boxes.shown.empty());
  PickDay(1);
  ClickCell(Races(), 0);
  PickDay(0);
  EXPECT_EQ(Text(browser.get(), "RacesTitle"), "Carreras: 0");
  EXPECT_EQ(Cells(Races()), (Rows{{"", "", "", ""}}));
  PickDay(2);
  Click(browser.get(), "ByCar");
  Click(browser.get(), "PrintPasses");
  EXPECT_EQ(printer.jobsEnded, 1);
}

TEST_F(FilesBrowser, ClickingThePassesGridHandsTheFocusToTheEventsButton) {
  RecordTwoDays();
  Open();
  browser->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(browser.get()));
  ClickCell(Passes(), 1, 2);
  EXPECT_TRUE(Passes()->selectedItems().isEmpty());
  EXPECT_TRUE(B("EventsButton")->hasFocus());
}

TEST_F(FilesBrowser, PrintsClassificationPassesAndRacesInTheReportFrame) {
  RecordTwoDays();
  Open();
  ClickCell(Races(), 0);
  Click(browser.get(), "PrintClassification");
  Open(false);
  ClickCell(Races(), 0);
  Click(browser.get(), "ByCar");
  Click(browser.get(), "PrintPasses");
  PickDay(0);
  Click(browser.get(), "PrintRaces");
  ASSERT_EQ(printer.pages.size(), 3u);
  EXPECT_EQ(printer.jobsEnded, 3);

  // Columns stand at the tab stops, 8 characters apart; each cell as shown.
  EXPECT_EQ(printer.pages[0], (Texts{"Fecha: 261206", "Final. Crono individual. Carrera parada a 01'07\"875.",
                                     "Carrera 01 (5 minutos 2 coches) iniciada a las 18h5'3\"45.", "Clasificación",
                                     "Pto.    C.      Vueltas T. total        V. ráp.",
                                     "   1      3          2  00'45\"250        22,625",
                                     "   2      1          2  00'45\"250        22,625"}));

  const printing::Report& passes = printer.reports[1];
  EXPECT_EQ(passes.day, "261206");
  EXPECT_EQ(passes.title, "Passes by car");
  // The record lines stay in the language they were written in.
  EXPECT_EQ(passes.description, "Final. Crono individual. Carrera parada a 01'07\"875.");
  EXPECT_EQ(passes.headings, (Texts{"Pass", "C.", "Lap", "Time", "Total t."}));
  ASSERT_EQ(passes.rows.size(), 6u);
  EXPECT_EQ(passes.rows.front(), (Texts{"   2", "  1", "     0", "  22,625", "  00'00\"000"}));
  EXPECT_EQ(passes.rows.back(), (Texts{"   5", "  3", "     2", "  22,625", "  00'45\"250"}));
  EXPECT_EQ(printer.pages[1][3], "Passes by car");

  // The races of a day with two races: the shared lines, title, headings, the races.
  EXPECT_EQ(printer.pages[2], (Texts{"Date: 261205", "Tarde. Crono individual. Carrera parada a 00'22\"625.",
                                     "Carrera 02 (5 minutos 2 coches) iniciada a las 18h5'25\"670.", "Races",
                                     "Race    Mtes.   Cars    Hour started", "   1       5       2    18h05'03\"045",
                                     "   2       5       2    18h05'25\"670"}));
}

}  // namespace
