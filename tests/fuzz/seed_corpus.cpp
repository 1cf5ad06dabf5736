// Writes the record files of a few races into a folder, through the
// program's own race control and writers: the seed corpus of the fuzzers.
#include <cstdio>
#include <string>

#include "events/event_types.h"
#include "race/race_control.h"
#include "records/race_files.h"
#include "support/fakes.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_corpus FOLDER\n");
    return 64;
  }
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(argv[1], lister);
  testing_support::FakeCounter counter;
  testing_support::FakeClock clock;
  testing_support::FakeSound sound;
  race::RaceControl control(counter, clock, sound, files);
  control.InitTiming();
  control.SetNumbering("261206", 1);
  for (int raceNo = 0; raceNo < 3; ++raceNo) {
    if (raceNo == 1) control.ToggleLanguage();
    control.Setup().SetDescription(control.spanish(), "Carrera de prueba ñ €");
    control.RadioGroup2Click(raceNo == 2 ? 3 : 0);
    if (!control.Button1Click()) return 1;
    for (int lap = 0; lap < 6; ++lap) {
      for (int car = 1; car <= 12; ++car) {
        counter.AdvanceSeconds(1.37 + car * 0.01);
        control.FormKeyDown(race::kVkF1 - 1 + car);
      }
      control.EventButton(events::EventKind::StopAndGo, lap + 1);
    }
    control.ManualEvent("bandera roja en la curva");
    if (raceNo == 0) {
      // Texts a spreadsheet would take for formulas, and one plain number.
      for (const char* text : {"=HYPERLINK(\"http://x\",\"y\")", "@SUM(1)", "-5"}) control.ManualEvent(text);
    }
    if (raceNo == 2) {
      counter.AdvanceSeconds(1300);
      control.Timer1Timer();
    } else {
      control.Finalizar(true);
    }
  }
  return 0;
}
