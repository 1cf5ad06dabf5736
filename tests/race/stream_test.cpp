// The stream of race facts: every listener hears each fact in one fixed
// order, and only once the fact's line is on disk.
#include <gtest/gtest.h>

#include "race_harness.h"
#include "records/race_files.h"

namespace {

using testing_support::RaceHarness;
using testing_support::TempDir;
using Lines = std::vector<std::string>;

// Notes each fact, and whether its line was the last line of its file on
// disk when the fact was told.
class FactLog final : public race::RaceListener {
 public:
  FactLog(const TempDir& dir, std::string name, Lines& log) : dir_(dir), name_(std::move(name)), log_(log) {}
  void RaceStarted(const race::StartFact& f) override {
    Note("start " + f.race.Text() + (f.resumed ? " resumed" : "") + " cars " + std::to_string(f.setup.Participants()) +
         " at " + std::to_string(f.atMs));
  }
  void PassRecorded(const race::PassFact& f) override {
    Note("pass " + std::to_string(f.car) + " lap " + std::to_string(f.lapMs) + " P" + std::to_string(f.position) +
         " leader " + std::to_string(f.leader) + (f.finished ? " finished" : "") + " at " + std::to_string(f.atMs) +
         OnDisk(".pss", f.line));
  }
  void EventRecorded(const race::EventFact& f) override {
    Note("event " + std::string(f.code) + " " + std::to_string(f.car) + OnDisk(".inc", f.line));
  }
  void ClockTicked(const race::TickFact& f) override { Note(f.running ? "tick" : "idle tick"); }
  void RaceFinished(const race::FinishFact& f) override {
    std::string rows;
    for (const race::FinishRow& r : f.rows) rows += " " + std::to_string(r.car);
    Note(std::string(f.stopped ? "stopped" : "finished") + rows +
         (dir_.Read("26120601.cls").find("Carrera parada") != std::string::npos ? " on disk" : ""));
  }

 private:
  void Note(const std::string& text) { log_.push_back(name_ + ": " + text); }
  std::string OnDisk(const char* extension, const std::string& line) const {
    const std::string bytes = dir_.Read(std::string("26120601") + extension);
    return bytes.ends_with(records::EncodeLine(line)) ? " on disk" : " NOT on disk";
  }
  const TempDir& dir_;
  std::string name_;
  Lines& log_;
};

TEST(RaceFacts, EveryListenerHearsEachFactInOrderOnceItsLineIsOnDisk) {
  TempDir dir;
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(dir.path(), lister);
  RaceHarness h(&files);
  Lines log;
  FactLog first(dir, "A", log), second(dir, "B", log);
  h.race.AddListener(&first);
  h.race.AddListener(&second);
  h.OnlyCars({2, 3});
  h.race.SetGateConnected(true);
  ASSERT_TRUE(h.Start(3));  // 20 minutes, common timing
  const std::int64_t start = h.counter.now();
  h.Wait(8.5);
  h.race.GateCrossed(3, start + h.race.Timing().SecondsToTicks(8), true);  // a pass and its note
  h.Key(5);                                                               // does not race
  h.race.Timer1Timer();
  h.race.RemoveListener(&second);
  h.Wait(3);
  h.Key(2);
  h.race.Finalizar(true);
  EXPECT_EQ(log, (Lines{"A: start 26120601 cars 2 at 5000", "B: start 26120601 cars 2 at 5000",
                        "A: pass 3 lap 8000 P1 leader 3 at 13000 on disk", "B: pass 3 lap 8000 P1 leader 3 at 13000 on disk",
                        "A: event SENS 3 on disk", "B: event SENS 3 on disk", "A: event NOCO 5 on disk",
                        "B: event NOCO 5 on disk", "A: tick", "B: tick", "A: pass 2 lap 11500 P2 leader 3 at 16500 on disk",
                        "A: stopped 3 2 on disk"}));
}

TEST(RaceFacts, ALineThatCouldNotBeWrittenIsNoFact) {
  RaceHarness h;
  ASSERT_TRUE(h.Start(3));
  h.sink.failPasses = true;
  h.sink.failEvents = true;
  h.Wait(8);
  h.Key(1);
  h.Key(11);
  EXPECT_TRUE(h.observer.passes.empty());
  EXPECT_EQ(h.observer.errors.size(), 2u);
  EXPECT_EQ(h.race.State().PassCount, 1);  // the race counted it all the same
}

}  // namespace
