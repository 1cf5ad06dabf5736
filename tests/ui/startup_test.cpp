// The start-up steps: the report box, the day's numbering, the sound check,
// the defaults of the window, and a machine without a counter.
#include <QCheckBox>
#include <QLabel>

#include "browser_fixture.h"
#include "records/naming.h"
#include "ui/startup.h"
#include "window_fixture.h"

namespace {

using testing_support::WindowTest;

class StartUp : public WindowTest {};

TEST_F(StartUp, FirstRunOfTheDayReportsAnEmptyFolderAndRaceOne) {
  Open();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_FALSE(boxes.shown[0].question);
  EXPECT_EQ(boxes.shown[0].caption, "TRELVIX");
  EXPECT_EQ(boxes.shown[0].text,
            "Directorio: " + dir.path() +
                "\rFecha: 261206\rNo hallo ficheros de hoy\rBase: 261206\rSiguiente: 01\rÍndice: 26120600.TXT"
                "\rSonido: sí\rFicheros de sonido: no (0+0)\rAuxiliares sonido: 0+0"
                "\rPrecisión: 1000000000\r\rCuadrado amarillo cambia idioma.\rYellow square changes language.");
  EXPECT_EQ(Text("Label92"), "26120601");
  // Shown again later, the window does not repeat its start-up.
  window->hide();
  window->show();
  window->FormActivate();
  QCoreApplication::processEvents();
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(StartUp, ARaceLeftUnfinishedGoesOnWhenTheDirectorSaysSo) {
  {
    // Killed after two laps: its files stay as they were.
    testing_support::RaceRecorder recorder(dir.path(), "261206");
    recorder.Race("Nocturna", 2, false);
  }
  Wait(60);
  boxes.answers = {true};
  Open();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_TRUE(boxes.shown[1].question);
  EXPECT_EQ(boxes.shown[1].text,
            "La carrera 01 de 261206 quedó sin terminar. ¿Continuarla?\r\r"
            "Race 01 of 261206 was left unfinished. Continue it?");
  EXPECT_TRUE(window->raceRunning());
  EXPECT_EQ(Text("Label15"), "1");  // car 1: its first crossing and one lap
  EXPECT_EQ(Text("Label17"), "1");
  EXPECT_EQ(Text("Label88"), "4");
  EXPECT_FALSE(Find("Button1")->isEnabled());
  // The next pass goes on with the race's own files and numbers.
  Wait(5);
  QTest::keyClick(window.get(), Qt::Key_F3);
  EXPECT_EQ(Text("Label88"), "5");
  EXPECT_NE(dir.Read("26120601.pss").find("\r\n5\t3\t2\t"), std::string::npos);
  EXPECT_EQ(Text("Label92"), "26120602");
}

TEST_F(StartUp, AResumeOnAClockThatCannotBeRightSaysSo) {
  {
    testing_support::RaceRecorder recorder(dir.path(), "261206");
    recorder.Race("Nocturna", 2, false);
  }
  // After the reboot the machine's clock is an hour behind the race's start.
  clock.AdvanceMillis(-3600 * 1000);
  boxes.answers = {true};
  Open();
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(LastBox(),
            "La hora del equipo no cuadra con el inicio de la carrera 01: sigue desde su último paso registrado, sin "
            "contar el tiempo que el programa no corrió. Revisa la hora del equipo.\r\rThe machine's clock does not "
            "agree with the start of race 01: it goes on from its last recorded pass, without the time the program "
            "was down. Check the machine's clock.");
  EXPECT_TRUE(window->raceRunning());
}

TEST_F(StartUp, AnUnwritableProgramFolderWithRacesIsNamedAndNumberedPast) {
  testing_support::TempDir program;
  {
    testing_support::RaceRecorder recorder(program.path(), "261206");
    recorder.Race("Manga 1", 1);
    recorder.Race("Manga 2", 2, false);
  }
  otherFolder = program.path();
  programFolderUnwritable = true;
  Open();
  ASSERT_EQ(boxes.shown.size(), 2u);  // no race to resume where records now go
  EXPECT_NE(boxes.shown[0].text.find("\rNo hallo ficheros de hoy\rBase: 261206\rSiguiente: 03\r"), std::string::npos);
  // Both folders by name, in both languages.
  const std::string both = program.path() + "\ry en ella quedó sin terminar la carrera 02 de 261206.\r"
                                            "Las carreras nuevas se guardan en:\r" + dir.path() + "\r";
  EXPECT_EQ(LastBox().rfind("No se puede escribir en la carpeta del programa:\r" + both, 0), 0u) << LastBox();
  EXPECT_NE(LastBox().find("\r\rThe program's folder cannot be written:\r" + program.path() +
                           "\rand race 02 of 261206 was left unfinished there.\rNew races are kept in:\r" + dir.path()),
            std::string::npos);
  EXPECT_EQ(Text("Label92"), "26120603");
}

TEST_F(StartUp, WindowStartsInSpanishWithTenCarsAndFiveMinutes) {
  Open();
  EXPECT_EQ(window->windowTitle(), "Cuentavueltas/incidolímetro TRELVIX (TRELVIX). Versión 0.9902");
  EXPECT_EQ(window->size(), QSize(632, 453));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  for (int n = 1; n <= 12; ++n) {
    const std::string box = "CheckBox" + std::to_string(n);
    const std::string state = "Label" + std::to_string(n + 66);
    EXPECT_EQ(Find<QCheckBox>(box.c_str())->isChecked(), n <= 10) << n;
    EXPECT_EQ(Text(state.c_str()), n <= 10 ? "Parado" : "Desactivado") << n;
  }
  EXPECT_EQ(Find<QCheckBox>("CheckBox1")->text(), "Coche  1");
  EXPECT_EQ(Find<QCheckBox>("CheckBox10")->text(), "Coche 10");
  EXPECT_EQ(Text("Label96"), "10");
  EXPECT_EQ(Text("Panel5"), "Parada");
  EXPECT_TRUE(Find<QAbstractButton>("RadioGroup2Item0")->isChecked());
  EXPECT_TRUE(Find<QAbstractButton>("RadioGroup1Item0")->isChecked());
  EXPECT_TRUE(Find("Panel20")->isVisibleTo(window.get()));
  // Idle: setup usable, events and the stop button not.
  EXPECT_TRUE(Find("Panel3")->isEnabled());
  EXPECT_TRUE(Find("Panel4")->isEnabled());
  EXPECT_FALSE(Find("Panel6")->isEnabled());
  EXPECT_TRUE(Find("Button1")->isEnabled());
  EXPECT_FALSE(Find("Button75")->isEnabled());
  EXPECT_TRUE(Find("Button88")->isEnabled());
}

TEST_F(StartUp, NumberingFollowsTheDaysFilesInTheFolder) {
  dir.Write("26120600.TXT", "");
  dir.Write("26120698.cls", "");
  dir.Write("26120512.cls", "");  // another day
  Open();
  EXPECT_NE(LastBox().find("\r2 fichero(s) de hoy\rBase: 261206\rSiguiente: 99\r"), std::string::npos) << LastBox();
  EXPECT_EQ(Text("Label92"), "26120699");
}

TEST_F(StartUp, RaceNinetyNineOfTheDayGivesTheLimitMessageInsteadOfTheReport) {
  dir.Write("26120699.cls", "");
  sound.AddAllCues();
  Open();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(LastBox(), records::kRaceLimitMessage);
  EXPECT_EQ(Text("Label92"), "");
  // The sound check was skipped: the box keeps its design state.
  EXPECT_TRUE(Find("CheckBox13")->isEnabled());
  EXPECT_FALSE(Find<QCheckBox>("CheckBox13")->isChecked());
  // No race can start into another race's files.
  Click("Button1");
  EXPECT_FALSE(window->raceRunning());
  EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(StartUp, SoundBoxIsUsableOnlyWithADeviceAndTheTwelveSpanishCues) {
  sound.AddAllCues({"1e.wav", "2e.wav", "3e.wav", "4e.wav", "5e.wav", "6e.wav", "7e.wav", "8e.wav", "9e.wav",
                    "10e.wav", "11e.wav", "12e.wav", "sale.wav"});
  Open();
  EXPECT_NE(LastBox().find("\rSonido: sí\rFicheros de sonido: sí (12+0)\rAuxiliares sonido: 3+2\r"),
            std::string::npos)
      << LastBox();
  EXPECT_TRUE(Find("CheckBox13")->isEnabled());
}

TEST_F(StartUp, NoSoundDeviceMeansBuyACard) {
  sound.AddAllCues();
  sound.devices = 0;
  Open();
  EXPECT_NE(LastBox().find("\rSonido: no\rCompra tarjeta\rPrecisión: "), std::string::npos) << LastBox();
  EXPECT_FALSE(Find("CheckBox13")->isEnabled());
}

TEST_F(StartUp, MissingLapCueDisablesTheSoundBox) {
  sound.AddAllCues({"7.wav"});
  Open();
  EXPECT_NE(LastBox().find("Ficheros de sonido: no (11+12)"), std::string::npos) << LastBox();
  EXPECT_FALSE(Find("CheckBox13")->isEnabled());
}

TEST(StartUpWithoutCounter, TimingErrorEndsTheProgram) {
  testing_support::FakeCounter counter(0);
  testing_support::FakeClock clock;
  testing_support::FakeSound sound;
  testing_support::FakeMessageBoxes boxes;
  testing_support::FakeLister lister;
  ui::TForm1 window({counter, clock, sound, boxes, lister, ".", "", nullptr});
  EXPECT_EQ(window.windowTitle(), "Cuentavueltas/incidolímetro TRELVIX (TRELVIX). Versión 0.99.");
  int quitCode = 0;
  window.SetQuitHandler([&](int code) { quitCode = code; });
  window.FormActivate();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Error de temporización\rTiming error");
  EXPECT_EQ(quitCode, 1);
}

TEST(RecordFolder, AnUnwritableProgramFolderIsWorthANoteOnlyWhenItHoldsRacesOfToday) {
  testing_support::TempDir program;
  testing_support::FakeClock clock;  // 6 December 2026
  platform::PosixDirectoryLister lister;
  program.Write("26120512.cls", "");  // another day
  EXPECT_EQ(ui::UnwritableFolderNote(lister, program.path(), "/home/director/TRELVIX", clock.Now()), "");
  program.Write("26120600.TXT", "1\t5\t2\t18h05'03\"045\t\r\n");
  const std::string note = ui::UnwritableFolderNote(lister, program.path(), "/home/director/TRELVIX", clock.Now());
  EXPECT_NE(note.find(program.path() + "\ry en ella hay carreras de hoy.\rLas carreras nuevas se guardan en:\r"
                                       "/home/director/TRELVIX\r"),
            std::string::npos)
      << note;
  EXPECT_NE(note.find("\rTo keep races there again, fix its permissions and start the program again."),
            std::string::npos)
      << note;
}

}  // namespace
