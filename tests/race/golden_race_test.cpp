// Record files of a scripted day of races, byte for byte as committed in
// tests/race/golden/: every way a line gets written, through the race
// control and the real record files, must keep writing the same bytes.
// TRELVIX_WRITE_GOLDEN=FOLDER writes the files there instead of comparing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "race/race_control.h"
#include "records/naming.h"
#include "records/unfinished_race.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace {

using testing_support::FakeClock;
using testing_support::FakeCounter;
using testing_support::FakeSound;
using testing_support::TempDir;
using events::EventKind;

// One run of the program on the folder.
struct Program {
  Program(const std::string& folder, FakeCounter& counter, FakeClock& clock, FakeSound& sound, const std::string& boot)
      : files(folder, lister), race(counter, clock, sound, files) {
    race.InitTiming();
    race.SetBootId(boot);
    const records::DayNumbering day = records::NumberDay(clock.Now(), lister.List(folder));
    race.SetNumbering(day.dayBase, day.raceNumber);
  }
  platform::PosixDirectoryLister lister;
  records::RaceFiles files;
  race::RaceControl race;
};

struct Day {
  Day() { Restart("boot-1"); }
  void Restart(const std::string& boot) { program = std::make_unique<Program>(dir.path(), *counter, clock, sound, boot); }
  race::RaceControl& r() { return program->race; }
  // The counter and the clock move on to `seconds` after the race's start.
  void At(double seconds) {
    const std::int64_t to = start + r().Timing().SecondsToTicks(seconds);
    clock.AdvanceMillis((to - counter->now()) / 1000000);
    counter->AdvanceTicks(to - counter->now());
  }
  std::int64_t Count(double seconds) { return start + r().Timing().SecondsToTicks(seconds); }
  void Key(int car, double seconds) {
    At(seconds);
    r().FormKeyDown(race::kVkF1 - 1 + car);
  }
  void Start() {
    ASSERT_TRUE(r().Button1Click());
    start = counter->now();
  }
  void OnlyCars(std::initializer_list<int> cars) {
    for (int n = 1; n <= 12; ++n) r().CheckBoxClick(n, std::find(cars.begin(), cars.end(), n) != cars.end());
  }
  // Killed at once; started again with a new counter after a reboot.
  void Crash(double downSeconds, bool reboot, std::int64_t clockBackMillis) {
    program.reset();
    clock.AdvanceMillis(static_cast<std::int64_t>(downSeconds * 1000));
    counter->AdvanceSeconds(downSeconds);
    if (reboot) {
      rebooted = std::make_unique<FakeCounter>(1000000000, 2000000000);
      start += rebooted->now() - counter->now();  // lost: the race is placed again
      counter = rebooted.get();
      clock.AdvanceMillis(-clockBackMillis);
    }
    Restart(reboot ? "boot-2" : "boot-1");
    const auto unfinished = records::FindUnfinishedRace(program->lister, dir.path(), clock.Now());
    ASSERT_TRUE(unfinished.has_value());
    r().ResumeRace(*unfinished);
  }

  TempDir dir;
  FakeCounter first;
  FakeCounter* counter = &first;
  std::unique_ptr<FakeCounter> rebooted;
  FakeClock clock;
  FakeSound sound;
  std::unique_ptr<Program> program;
  std::int64_t start = 0;
  std::string journal;  // the first race's journal while it runs
};

// Race 1, Spanish, individual timing, 5 minutes, cars 1, 2, 3 and 5, with
// the gate: its own passes, a key it replaces, a key it confirms late with
// less accuracy, a key it never confirms; a refused pass, a car that does
// not race, events, a manual text; finishing passes and the normal end.
void IndividualRaceWithTheGate(Day& d) {
  d.OnlyCars({1, 2, 3, 5});
  d.r().RadioGroup2Click(0);
  d.r().Setup().SetDescription(true, "Clasificación € 1");
  d.r().SetGateConnected(true);
  d.Start();
  d.journal = d.dir.Read("26120601.run");
  d.Key(1, 3);
  d.Key(2, 4.25);
  d.At(6.1);
  d.r().GateCrossed(3, d.Count(6), false);
  d.At(6.3);
  d.r().CarCrossed(3, d.Count(6.2));  // the gate's crossing already: a note
  d.Key(1, 10);                       // too soon: ERRO
  d.Key(11, 11);                      // does not race: NOCO
  d.At(12);
  d.r().EventButton(EventKind::Refuel, 2);
  d.At(13.5);
  d.r().EventButton(EventKind::StopAndGo, 5);
  d.Key(3, 20);  // held for the gate...
  d.At(20.3);
  d.r().GateCrossed(3, d.Count(20.1), true);  // ...which replaces it, less accurately
  d.Key(1, 25);
  d.Key(2, 30);
  d.Key(3, 40);  // held, and never confirmed
  d.At(40.6);
  d.r().ReleaseHeldKeys();
  d.At(41);
  d.r().ManualEvent("aceite en la recta\tcurva 2 \xC3\xB1");
  d.Key(1, 45);
  d.Key(2, 50);
  d.At(301);
  d.r().Timer1Timer();
  d.Key(1, 310);  // past its time: finishes
  d.Key(2, 315);
  d.At(320.25);
  d.r().GateCrossed(3, d.Count(320), false);
  d.At(340);
  d.r().EventButton(EventKind::Boxes, 5);
  d.At(360.5);
  d.r().Timer1Timer();  // car 5 never came: the minute of grace is over
}

// Race 2, English, common timing, 20 minutes, cars 4, 7 and 12, killed
// mid-race and continued on the same boot, then stopped by the director.
void CommonRaceResumedAndStopped(Day& d) {
  d.r().SetGateConnected(false);
  d.r().ToggleLanguage();
  d.OnlyCars({4, 7, 12});
  d.r().RadioGroup2Click(3);
  d.r().Setup().SetDescription(false, "Evening heat");
  d.Start();
  d.Key(4, 8);
  d.Key(7, 9.5);
  d.Key(4, 14);  // too soon
  d.Key(4, 22.125);
  d.Key(12, 23);
  d.At(24);
  d.r().EventButton(EventKind::Zurb, 7);
  d.r().EventButton(EventKind::OffTrack, 12);
  d.Crash(5, false, 0);
  d.Key(7, 36);
  d.At(37);
  d.r().ManualEvent("track blocked at the bridge");
  d.Key(9, 38);
  d.Key(4, 40);
  d.At(95.125);
  d.r().Finalizar(true);
}

// Race 3, Spanish, an hour of common timing (times with hours), cars 1 and
// 2, continued after a reboot whose clock is behind, then stopped.
void LongRaceAfterARebootStopped(Day& d) {
  d.r().ToggleLanguage();
  d.OnlyCars({1, 2});
  d.r().RadioGroup2Click(6);
  d.r().SpinEdit1Change(60);
  d.Start();
  d.Key(1, 5);
  d.Key(2, 6);
  d.Key(1, 20);
  d.Crash(30, true, 600000);
  d.At(40);
  d.r().EventButton(EventKind::Stop, 2);
  d.Key(2, 45);
  d.At(50);
  d.r().Finalizar(true);
}

std::string Golden(const std::string& name) {
  const std::string path = std::string(TRELVIX_GOLDEN_DIR) + "/" + name;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(GoldenRecords, AScriptedDayWritesTheSameBytes) {
  Day d;
  IndividualRaceWithTheGate(d);
  CommonRaceResumedAndStopped(d);
  LongRaceAfterARebootStopped(d);
  d.program.reset();

  std::map<std::string, std::string> files{{"running-26120601.run", d.journal}};
  for (const auto& entry : std::filesystem::directory_iterator(d.dir.path())) {
    const std::string name = entry.path().filename().string();
    files[name] = d.dir.Read(name);
  }
  if (const char* out = std::getenv("TRELVIX_WRITE_GOLDEN")) {
    for (const auto& [name, bytes] : files) std::ofstream(std::string(out) + "/" + name, std::ios::binary) << bytes;
    FAIL() << "golden files written to " << out << ": look at them, commit them, run again without the variable";
  }
  std::set<std::string> golden;
  for (const auto& entry : std::filesystem::directory_iterator(TRELVIX_GOLDEN_DIR)) {
    golden.insert(entry.path().filename().string());
  }
  std::set<std::string> written;
  for (const auto& [name, bytes] : files) written.insert(name);
  EXPECT_EQ(written, golden);
  for (const auto& [name, bytes] : files) EXPECT_EQ(bytes, Golden(name)) << name;
}

}  // namespace
