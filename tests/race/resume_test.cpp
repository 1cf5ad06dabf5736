// A race that the program did not live to finish goes on after a restart,
// and ends with the same files as a race that was never interrupted.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

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

// One run of the program on a folder: its record files and race control,
// numbered from what the folder holds, as start-up numbers them.
struct Program {
  Program(const std::string& folder, FakeCounter& counter, FakeClock& clock, FakeSound& sound,
          const std::string& bootId)
      : files(folder, lister), race(counter, clock, sound, files) {
    race.InitTiming();
    race.SetBootId(bootId);
    const records::DayNumbering day = records::NumberDay(clock.Now(), lister.List(folder));
    race.SetNumbering(day.dayBase, day.raceNumber);
  }
  platform::PosixDirectoryLister lister;
  records::RaceFiles files;
  race::RaceControl race;
};

// A race as the operator runs it, step by step. Before step `pauseAt` seven
// seconds pass without a key; in a crashing run the program dies there and
// is started again at their end.
struct RaceRun {
  enum class Pause { kNothing, kCrash, kReboot };
  explicit RaceRun(Pause pause) : pause_(pause) {}

  void Go(const std::vector<std::function<void(race::RaceControl&)>>& steps, int pauseAt) {
    program_ = std::make_unique<Program>(dir.path(), *counter_, clock, sound, boot_);
    for (int i = 0; i < static_cast<int>(steps.size()); ++i) {
      if (i == pauseAt) {
        if (pause_ == Pause::kNothing) {
          Wait(7);
        } else {
          Crash();
        }
      }
      steps[static_cast<std::size_t>(i)](program_->race);
    }
  }
  void Wait(double seconds) {
    counter_->AdvanceSeconds(seconds);
    clock.AdvanceMillis(static_cast<std::int64_t>(seconds * 1000 + 0.5));
  }
  void Crash() {
    program_.reset();  // killed: nothing more is written
    Wait(7);
    if (pause_ == Pause::kReboot) {
      // A new boot: the counter starts again from nearly nothing.
      rebooted_ = std::make_unique<FakeCounter>(1000000000, 3000000000);
      counter_ = rebooted_.get();
      boot_ = "another-boot";
      clock.AdvanceMillis(-clockBackMillis);
    }
    program_ = std::make_unique<Program>(dir.path(), *counter_, clock, sound, boot_);
    if (listener != nullptr) program_->race.AddListener(listener);
    const auto unfinished = records::FindUnfinishedRace(program_->lister, dir.path(), clock.Now());
    ASSERT_TRUE(unfinished.has_value());
    outcome = program_->race.ResumeRace(*unfinished);
  }
  std::string Files() const {
    std::string all;
    for (const char* name : {"26120600.TXT", "26120601.pss", "26120601.inc", "26120601.cls"}) {
      all += std::string(name) + ":\n" + dir.Read(name);
    }
    return all;
  }

  TempDir dir;
  FakeClock clock;
  std::int64_t clockBackMillis = 0;  // how far the clock is set back at a reboot
  FakeSound sound;
  race::RaceControl::ResumeOutcome outcome = race::RaceControl::ResumeOutcome::kFailed;
  race::RaceListener* listener = nullptr;  // follows the program started again
  std::unique_ptr<Program> program_;
  FakeCounter& counter() { return *counter_; }

 private:
  FakeCounter first_;
  FakeCounter* counter_ = &first_;
  std::unique_ptr<FakeCounter> rebooted_;
  std::string boot_ = "boot-1";
  Pause pause_;
};

using Step = std::function<void(race::RaceControl&)>;

// Individual timing with cars 1, 3 and 5: passes, a refused pass, a car that
// does not race, events before and after the crash, then the two-step stop.
std::vector<Step> ARace(RaceRun& run) {
  auto key = [](int car) { return [car](race::RaceControl& r) { r.FormKeyDown(race::kVkF1 - 1 + car); }; };
  auto wait = [&run](double s) { return [&run, s](race::RaceControl&) { run.Wait(s); }; };
  return {
      [](race::RaceControl& r) {
        for (int n = 1; n <= 12; ++n) r.CheckBoxClick(n, n == 1 || n == 3 || n == 5);
        r.Setup().SetDescription(true, "Resistencia");
        r.RadioGroup2Click(1);  // 10 minutes: individual timing
        r.Button1Click();
      },
      wait(4.125), key(3), wait(1.5), key(1), wait(2), key(3),  // too soon: ERRO
      [](race::RaceControl& r) { r.EventButton(events::EventKind::Refuel, 3); },
      wait(14.25), key(3), key(11),  // car 11 does not race: NOCO
      wait(3.5), key(1),
      wait(1),  // the crash comes here, before the next step
      wait(9.75), key(3), key(5), [](race::RaceControl& r) { r.ManualEvent("aceite en la recta"); },
      wait(17.5), key(1), key(3),
      [](race::RaceControl& r) { r.Finalizar(true); },
  };
}

constexpr int kPauseStep = 17;

// The names the facts of a race carry.
struct RaceNames final : race::RaceListener {
  void RaceStarted(const race::StartFact& f) override { names.push_back("start " + f.race.Text()); }
  void RaceFinished(const race::FinishFact& f) override { names.push_back("finish " + f.race.Text()); }
  std::vector<std::string> names;
};

TEST(Resume, OnTheSameBootTheRaceEndsAsIfNeverInterrupted) {
  RaceRun plain(RaceRun::Pause::kNothing);
  plain.Go(ARace(plain), kPauseStep);
  RaceRun crashed(RaceRun::Pause::kCrash);
  RaceNames heard;
  crashed.listener = &heard;
  crashed.Go(ARace(crashed), kPauseStep);
  EXPECT_EQ(crashed.outcome, race::RaceControl::ResumeOutcome::kRunning);
  EXPECT_EQ(crashed.Files(), plain.Files());
  // The race continued is told by its own name, not the day's next one.
  EXPECT_EQ(heard.names, (std::vector<std::string>{"start 26120601", "finish 26120601"}));
  // Car 1's first pass after the crash: a long lap from its last recorded one.
  EXPECT_NE(crashed.dir.Read("26120601.pss").find("7\t1\t2\t35,250\t00'55\"000"), std::string::npos);
  EXPECT_FALSE(crashed.dir.Exists("26120601.run"));
  // The day's numbering goes on after the resumed race.
  EXPECT_EQ(crashed.program_->race.NextRaceBase(), "26120602");
  // Cars that did not race say so, although the restarted program's
  // defaults had them taking part.
  for (int n : {2, 4, 10}) EXPECT_EQ(crashed.program_->race.Screen().cars[n].state, "Desactivado") << n;
}

TEST(Resume, AfterARebootTheWallClockPlacesTheRaceOnTheNewCounter) {
  RaceRun plain(RaceRun::Pause::kNothing);
  plain.Go(ARace(plain), kPauseStep);
  RaceRun rebooted(RaceRun::Pause::kReboot);
  rebooted.Go(ARace(rebooted), kPauseStep);
  EXPECT_EQ(rebooted.outcome, race::RaceControl::ResumeOutcome::kRunning);
  EXPECT_EQ(rebooted.Files(), plain.Files());
}

// A clock behind after the reboot puts the start in its future (an hour),
// or says less time went by than the race had run (20 s): the race goes on
// as if its last recorded passes (cars 3 and 5 at 36,125) had been one
// minimum lap (13 s) ago, 6 s more than it was down, and ends on its own.
TEST(Resume, AfterARebootWithTheClockBehindTheRaceGoesOnFromItsLastPass) {
  for (const std::int64_t back : {20'000LL, 3'600'000LL}) {
    RaceRun run(RaceRun::Pause::kReboot);
    run.clockBackMillis = back;
    run.Go(ARace(run), kPauseStep);
    EXPECT_EQ(run.outcome, race::RaceControl::ResumeOutcome::kClockEstimated) << back;
    const std::string passes = run.dir.Read("26120601.pss");
    EXPECT_NE(passes.find("\r\n7\t1\t2\t41,250\t01'01\"000\r\n8\t3\t3\t30,500\t01'02\"500\r\n"), std::string::npos)
        << passes;
    EXPECT_NE(run.dir.Read("26120601.inc")
                  .find("\r\n4\t--\t--\t49,125\tHORA\tContinuada tras reiniciar el equipo: reloj estimado desde "
                        "el \xFAltimo paso\r\n"),
              std::string::npos);
    EXPECT_NE(run.dir.Read("26120601.cls").find("\r\nCrono individual. Carrera parada a 01'06\"625\r\n"),
              std::string::npos);
  }

  // Left alone, it ends by its own rules: ten minutes and the minute of
  // grace after its placed start.
  RaceRun run(RaceRun::Pause::kReboot);
  run.clockBackMillis = 3'600'000;
  std::vector<Step> steps = ARace(run);
  steps.resize(kPauseStep + 1);
  run.Go(steps, kPauseStep);
  race::RaceControl& r = run.program_->race;
  run.Wait(660 - 49.125 - 0.25);
  r.Timer1Timer();
  EXPECT_TRUE(r.State().Running);
  run.Wait(0.5);
  r.Timer1Timer();
  EXPECT_FALSE(r.State().Running);
  EXPECT_NE(run.dir.Read("26120601.cls").find("\r\nCrono individual. Carrera terminada normalmente\r\n"),
            std::string::npos);
}

TEST(Resume, ARaceWhoseTimeRanOutWhileDownIsFinishedAtOnce) {
  RaceRun late(RaceRun::Pause::kNothing);
  std::vector<Step> steps = ARace(late);
  steps.resize(kPauseStep);
  late.Go(steps, -1);
  late.program_.reset();
  late.Wait(11 * 60);  // ten minutes and the minute of grace are over
  late.program_ = std::make_unique<Program>(late.dir.path(), late.counter(), late.clock, late.sound, "boot-1");
  const auto unfinished = records::FindUnfinishedRace(late.program_->lister, late.dir.path(), late.clock.Now());
  ASSERT_TRUE(unfinished.has_value());
  EXPECT_EQ(late.program_->race.ResumeRace(*unfinished), race::RaceControl::ResumeOutcome::kFinished);
  EXPECT_FALSE(late.program_->race.State().Running);
  EXPECT_EQ(late.dir.Read("26120601.cls"),
            "Resistencia\r\nCarrera 01 (10 minutos 3 coches) iniciada a las 18h5'3\"45\r\n"
            "Crono individual. Carrera terminada normalmente\r\n"
            "1\t3\t2\t00'32\"000\t14,250\r\n2\t1\t1\t00'19\"750\t19,750\r\n3\t5\t0\t00'00\"000\t0,000\r\n");
}

}  // namespace

// Common timing, cars 1 and 2: a crossing of car 1 nobody pressed is added
// during the race, before the crash; after the resume the race counts it
// still, and its files end as an uninterrupted race's.
TEST(Resume, AMissedLapAddedDuringTheRaceOutlivesTheCrash) {
  auto race = [](RaceRun& run) {
    auto key = [](int car) { return [car](race::RaceControl& r) { r.FormKeyDown(race::kVkF1 - 1 + car); }; };
    auto wait = [&run](double s) { return [&run, s](race::RaceControl&) { run.Wait(s); }; };
    return std::vector<Step>{
        [](race::RaceControl& r) {
          for (int n = 1; n <= 12; ++n) r.CheckBoxClick(n, n <= 2);
          r.RadioGroup1Click(1);  // common timing
          r.Button1Click();
        },
        wait(20), key(1), wait(1), key(2), wait(24), key(2), wait(25), key(1),  // car 1: 50 s, two laps
        [](race::RaceControl& r) { EXPECT_TRUE(r.AddMissedLap(1)); },
        [](race::RaceControl& r) { EXPECT_FALSE(r.AddMissedLap(1)); },  // halves of 12,5 s: under 13 s
        wait(1),  // the crash comes here
        wait(24), key(1), key(2),
        [](race::RaceControl& r) { r.Finalizar(true); },
    };
  };
  RaceRun plain(RaceRun::Pause::kNothing);
  plain.Go(race(plain), 11);
  RaceRun crashed(RaceRun::Pause::kCrash);
  crashed.Go(race(crashed), 11);
  EXPECT_EQ(crashed.outcome, race::RaceControl::ResumeOutcome::kRunning);
  EXPECT_EQ(crashed.Files(), plain.Files());
  EXPECT_NE(crashed.dir.Read("26120601.inc").find("1\t1\t--\t70,000\tCORR\t+1 P4: Paso no marcado\r\n"),
            std::string::npos);
  // Car 1: 20, 45 (added), 70 and 102 s: four laps, the fastest 25 s.
  EXPECT_NE(crashed.dir.Read("26120601.cls").find("\r\n1\t1\t4\t01'42\"000\t25,000\r\n2\t2\t3\t"), std::string::npos)
      << crashed.dir.Read("26120601.cls");
}
