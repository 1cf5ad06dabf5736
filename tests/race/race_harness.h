#pragma once
// A race control wired to fakes: the test moves the counter and the clock
// by hand and reads what was written.

#include <memory>

#include "race/race_control.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace testing_support {

class RecordingObserver final : public race::RaceObserver, public race::RaceListener {
 public:
  void ScreenChanged() override { ++renders; }
  void RaceStarted(const race::StartFact&) override { runningChanges.push_back(true); }
  void RaceFinished(const race::FinishFact&) override { runningChanges.push_back(false); }
  void PassRecorded(const race::PassFact& pass) override { passes.push_back(pass.car); }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void ShowMessage(const std::string& message) override { messages.push_back(message); }
  int renders = 0;
  std::vector<bool> runningChanges;
  std::vector<int> passes;
  std::vector<std::string> errors;
  std::vector<std::string> messages;
};

struct RaceHarness {
  explicit RaceHarness(records::RecordSink* files = nullptr)
      : race(counter, clock, sound, files != nullptr ? *files : sink) {
    race.SetObserver(&observer);
    race.AddListener(&observer);
    race.InitTiming();
    race.SetNumbering("261206", 1);
  }
  // Individual timing for 5 and 10 minutes, common for longer races.
  bool Start(int durationItem = 0, int timingItem = -1) {
    race.RadioGroup2Click(durationItem);
    if (timingItem >= 0) race.RadioGroup1Click(timingItem);
    return race.Button1Click();
  }
  void Wait(double seconds) {
    counter.AdvanceSeconds(seconds);
    clock.AdvanceMillis(static_cast<std::int64_t>(seconds * 1000 + 0.5));
  }
  bool Key(int car) { return race.FormKeyDown(race::kVkF1 - 1 + car); }
  const race::CarRow& Row(int car) const { return race.Screen().cars[car]; }
  const race::TCoche& Car(int car) const { return race.Cars()[car]; }
  void OnlyCars(std::initializer_list<int> cars) {
    for (int n = 1; n <= 12; ++n) race.CheckBoxClick(n, false);
    for (int n : cars) race.CheckBoxClick(n, true);
  }

  FakeCounter counter;
  FakeClock clock;
  FakeSound sound;
  MemorySink sink;
  RecordingObserver observer;
  race::RaceControl race;
};

}  // namespace testing_support
