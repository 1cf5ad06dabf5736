#pragma once
// The race control: the one race, driven by the start button, the function
// keys, the track gate, the event buttons and the 222 ms clock tick. It is
// the thin front the windows call by the design's handler names; the work
// is done by its parts: the race rules (RaceSession), the record files and
// the stream of race facts (RaceRecorder), and what the windows show
// (ScreenTexts). Each handler tells the observer once, at its end, that the
// screen changed.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "events/event_types.h"
#include "platform/clock.h"
#include "platform/counter.h"
#include "race/gate_keys.h"
#include "race/model.h"
#include "race/race_listener.h"
#include "race/recorder.h"
#include "race/screen_texts.h"
#include "race/session.h"
#include "race/setup.h"
#include "race/sound_cues.h"
#include "race/timing.h"
#include "records/race_files.h"
#include "records/run_journal.h"
#include "records/unfinished_race.h"

namespace race {

// What the main window is told besides the facts of the race.
class RaceObserver {
 public:
  virtual ~RaceObserver() = default;
  // The screen changed: told once, at the end of the handler that changed it.
  virtual void ScreenChanged() {}
  // The system's words for a record file that could not be written.
  virtual void ShowError(const std::string& /*message*/) {}
  // A message of the program's own (a refused start).
  virtual void ShowMessage(const std::string& /*message*/) {}
};

class RaceControl final {
 public:
  RaceControl(platform::PerformanceCounter& counter, platform::WallClock& clock, platform::SoundDevice& sound,
              records::RecordSink& records);
  RaceControl(const RaceControl&) = delete;
  RaceControl& operator=(const RaceControl&) = delete;

  void SetObserver(RaceObserver* observer) noexcept { observer_ = observer; }
  // The stream of race facts: listeners are told in the order they were added.
  void AddListener(RaceListener* listener) { recorder_.AddListener(listener); }
  void RemoveListener(RaceListener* listener) { recorder_.RemoveListener(listener); }

  // Start-up: the counter frequency (false: no counter), then the day's
  // numbering found in the record folder.
  bool InitTiming();
  void SetNumbering(const std::string& dayBase, int raceNumber);
  // The identity of the machine's boot, kept in each race's journal.
  void SetBootId(std::string bootId) { bootId_ = std::move(bootId); }

  // The start button: a race as the setup panel has it.
  bool Button1Click();
  // A race with these settings, whoever made them; the panel shows them.
  // False when the start was refused or its files could not be created;
  // the race then stays idle.
  bool StartRace(const RaceSetup& setup);
  // Between races, the setup panel takes these settings (a meeting's heat).
  void ShowSetup(const RaceSetup& setup);

  // Continues a race that a crash, a kill or a power cut left unfinished:
  // its settings from its journal, its standings, laps and counts taken in
  // again from its lines by the race rules, its files appended to. On the
  // boot it started on, the counter went on running; after a reboot, the
  // race is placed on the new counter through the wall clock; when that
  // clock cannot be right (the start in its future, say), the race goes on
  // from its last recorded pass (kClockEstimated) and says so in its
  // events. A race whose time and minute of grace ran out meanwhile is
  // finished at once.
  enum class ResumeOutcome { kRunning, kClockEstimated, kFinished, kFailed };
  ResumeOutcome ResumeRace(const records::UnfinishedRace& race);

  // The clock tick, every 222 ms whether a race runs or not.
  void Timer1Timer();
  // The finish: normal (stopped false) or the operator's stop. Does nothing
  // when no race runs.
  void Finalizar(bool stopped);

  // A key press (virtual-key code, F1 = 112 ... F12 = 123), timed now. True
  // when the key was taken as a pass attempt and must not reach the focused
  // control.
  bool FormKeyDown(int virtualKey);
  // The same for a key press made at counter count `when`: the window
  // system's own stamp of the press, so a key that waited behind a slow
  // disk is still timed when it was pressed.
  bool FormKeyDown(int virtualKey, std::int64_t when);
  // The key of car n (1..12), pressed at counter count `when`: a pass of a
  // racing car, a "NOCO" event for a car that does not race. A press made
  // before the start is taken and counts for nothing. While the gate is
  // connected and has seen the car in this race, the key is the gate's
  // backup: a press near a gate crossing of the car is a note, and any
  // other press waits up to kKeyHoldMillis for one. False when no race runs.
  bool CarCrossed(int n, std::int64_t when);
  // Car n crossed the line at `when` by the track gate's account; with
  // `approximate` its time is less accurate than normal, which an events
  // line says when the pass counts. False when no race runs.
  bool GateCrossed(int n, std::int64_t when, bool approximate);
  // Whether the gate's link is up. A link that goes down hands its held
  // keys to the race at once.
  void SetGateConnected(bool connected);
  // Delivers the held keys whose wait is over, in press order; the window
  // calls it at NextKeyRelease, and every tick does.
  void ReleaseHeldKeys();
  std::optional<std::int64_t> NextKeyRelease() const noexcept { return gateKeys_.NextRelease(); }
  static constexpr int kKeyHoldMillis = 500;
  // One pass of car n (1..12) at counter count `when`. True when it
  // counted; a pass made before the start never does.
  bool ProcessPass(int n, std::int64_t when);

  // Event entry.
  void IncSacaInci();
  // Appends the event line of a car; false when it could not be written.
  bool PrintInci(int car, const char* code);
  // An event button; nothing for a car that does not take part or has finished.
  void EventButton(events::EventKind kind, int car);
  // The manual event; false for an empty text or a line that could not be
  // written. The memo is cleared when it returns true.
  bool ManualEvent(const std::string& text);

  // A crossing of car n the director saw but nobody pressed: the car's last
  // lap counts as two equal halves, the standings follow, and a "CORR"
  // events line says so. False when no race runs, the car has no lap to
  // split or a half would be shorter than the minimum lap (the message
  // panel says which) or the line could not be written.
  bool AddMissedLap(int car);

  // Setup panel.
  SetupChoices& Setup() noexcept { return setup_; }
  const SetupChoices& Setup() const noexcept { return setup_; }
  void CheckBoxClick(int car, bool ticked);
  void Count_Partic();
  void RadioGroup1Click(int item);
  void RadioGroup2Click(int item);
  void SpinEdit1Change(int minutes);
  // Click on a laps cell: under individual timing a participating car becomes
  // the watched car.
  void Select(int car);
  void ReadRaceMinutes();
  void ShowRaceMinutes();

  // The language square.
  bool spanish() const noexcept { return texts_.spanish(); }
  void ToggleLanguage();

  const RaceScreen& Screen() const noexcept { return texts_.Screen(); }
  const TCoches& Cars() const noexcept { return session_.Cars(); }
  const TRaceState& State() const noexcept { return session_.State(); }
  const TimingBase& Timing() const noexcept { return timing_; }
  const std::string& NextRaceBase() const noexcept { return nextRaceBase_; }

 private:
  // Every handler holds one: the outermost tells the observer, once, that
  // the screen changed, after the handler's lines are on disk.
  class Handling final {
   public:
    explicit Handling(RaceControl& control) noexcept : control_(control), outer_(control.depth_++ == 0) {}
    ~Handling();
    Handling(const Handling&) = delete;
    Handling& operator=(const Handling&) = delete;

   private:
    RaceControl& control_;
    bool outer_;
  };

  void Changed() noexcept { changed_ = true; }
  void Fail(const records::IoResult& result);
  void NotRacing(int n, std::int64_t when);
  void DeliverKeys(const std::vector<HeldKey>& keys);
  // An events line of the program's own at `when` about car n (0: none);
  // the message when it was written.
  void WriteNote(int n, std::int64_t when, const char* code, const std::string& detail, const Words& message);
  // An events line about counter count `at`; true once it is on disk.
  bool WriteEvent(const std::string& line, std::string_view code, int car, std::int64_t at);
  // The race rules, the gate's keys and the screen at a start (or a resume's start).
  void BeginRace(const RaceSetup& setup, std::int64_t startCount, std::int64_t startWallMillis);
  void TakeInRecordedPasses(const records::UnfinishedRace& race);
  records::RunJournal Journal(const RaceSetup& setup, std::int64_t startCount,
                              const platform::LocalDateTime& wall) const;
  records::RaceId RunningRace() const;
  std::int64_t Millis(std::int64_t ticks) const noexcept;

  TimingBase timing_;
  platform::WallClock& clock_;
  SoundCues cues_;
  RaceRecorder recorder_;
  RaceObserver* observer_ = nullptr;
  SetupChoices setup_;
  RaceSession session_;
  ScreenTexts texts_;
  GateKeys gateKeys_;
  RaceSetup running_;  // the settings of the race running, or of the last one

  std::string dayBase_;
  std::string nextRaceBase_;
  std::string bootId_;
  bool resumed_ = false;  // the race running was continued after a crash
  std::string resumedBase_;  // its name: the day's next number lies past it
  int depth_ = 0;         // handlers under way
  bool changed_ = false;  // the screen changed in the handler under way
};

// F1..F12 as virtual-key codes.
inline constexpr int kVkF1 = 112;
inline constexpr int kVkF12 = 123;

}  // namespace race
