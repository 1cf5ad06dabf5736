#pragma once
// The race control: one race at a time, driven by the start button, the
// function keys, the event buttons and the 222 ms clock tick. It decides
// every text the windows show (RaceScreen) and tells them when to render;
// the windows only draw what it decides.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "events/event_types.h"
#include "platform/clock.h"
#include "platform/counter.h"
#include "race/gate_keys.h"
#include "race/model.h"
#include "race/setup.h"
#include "race/sound_cues.h"
#include "race/texts.h"
#include "race/timing.h"
#include "records/race_files.h"
#include "records/run_journal.h"
#include "records/unfinished_race.h"

namespace race {

// The texts of one car row of the car table.
struct CarRow {
  std::string laps;         // Label(n+14)
  std::string lastLap;      // Label(n+26)
  std::string fastestLap;   // Label(n+39)
  std::string accumulated;  // Label(n+1)
  std::string state;        // Label(n+66)
  std::string position;     // Label(n+53)
  bool lapsHighlighted = false;  // fuchsia background of the last passing car
  bool eventRowEnabled = false;  // Panel(n+6)
};

// Everything of the main window that the race control decides.
struct RaceScreen {
  std::array<CarRow, kCars + 1> cars;  // 1..12
  std::string passCount;         // Label88
  std::string eventCount;        // Label87
  std::string message;           // Panel19
  std::string runningOrder;      // Panel2
  std::string raceClock;         // Panel1, also the results window's clock
  std::string raceStatus;        // Panel5
  std::string watchedCar;        // Panel20
  bool watchedPanelVisible = true;
  std::string nextFile;          // Label92
  std::string participantCount;  // Label96
  std::string raceLength;        // the results window's length panel: "5'"
  bool running = false;          // panels enabled/disabled as for a race
  std::uint32_t sponsorColour = 0x00FF00;  // 0xRRGGBB of the sponsor line
};

// What the windows are told besides "render the screen".
class RaceObserver {
 public:
  virtual ~RaceObserver() = default;
  virtual void ScreenChanged() {}
  // The race started (focus to the event memo) or ended (focus to the start button).
  virtual void RunningChanged(bool /*running*/) {}
  // An accepted pass of the car, after the standings were sorted and before
  // the standings display is refreshed.
  virtual void PassAccepted(int /*car*/) {}
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

  // Start-up: the counter frequency (false: no counter), then the day's
  // numbering found in the record folder.
  bool InitTiming();
  void SetNumbering(const std::string& dayBase, int raceNumber);

  // The start button. False when the start was refused or its files could
  // not be created; the race then stays idle.
  bool Button1Click();
  // The identity of the machine's boot, kept in each race's journal.
  void SetBootId(std::string bootId) { bootId_ = std::move(bootId); }

  // Continues a race that a crash, a kill or a power cut left unfinished:
  // its settings from its journal, its standings, laps and counts rebuilt
  // from its lines, its files appended to. On the boot it started on, the
  // counter went on running; after a reboot, the race is placed on the new
  // counter through the wall clock; when that clock cannot be right (the
  // start in its future, say), the race goes on from its last recorded pass
  // (kClockEstimated) and says so in its events. A race whose time and
  // minute of grace ran out meanwhile is finished at once.
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
  // One pass of car n (1..12), timed now, or at counter count `when`. True
  // when it counted; a pass made before the start never does.
  void ProcessPass(int n);
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

  // Setup panel.
  RaceSetup& Setup() noexcept { return setup_; }
  const RaceSetup& Setup() const noexcept { return setup_; }
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
  bool spanish() const noexcept { return Spanish; }
  void ToggleLanguage();

  const RaceScreen& Screen() const noexcept { return screen_; }
  const TCoches& Cars() const noexcept { return Coches; }
  const TRaceState& State() const noexcept { return RaceState; }
  const TimingBase& Timing() const noexcept { return timing_; }
  const std::string& NextRaceBase() const noexcept { return nextRaceBase_; }
  const std::string& DayBase() const noexcept { return dayBase_; }

 private:
  void Changed();
  void Fail(const records::IoResult& result);
  void ShowStandings();
  void SetCarFinished(int n);
  void NotRacing(int n, std::int64_t when);
  void DeliverKeys(const std::vector<HeldKey>& keys);
  // An events line of car n at `when` with a detail; the message when written.
  void WriteNote(int n, std::int64_t when, const char* code, const std::string& detail, const Words& message);
  std::string RaceClockText(std::int64_t nowMillisOfDay) const;
  void PulseSponsor();
  bool WriteEvent(const std::string& line);
  void BeginRace(std::int64_t startCount, std::int64_t startWallMillis, int minutes);
  records::RunJournal Journal(std::int64_t startCount, const platform::LocalDateTime& wall) const;
  void ApplyJournalSettings(const records::RunJournal& journal, const std::string& description);
  void ReplayPass(const records::TPaso& pass);

  TimingBase timing_;
  platform::WallClock& clock_;
  SoundCues cues_;
  records::RecordSink& records_;
  RaceObserver* observer_ = nullptr;
  RaceSetup setup_;
  GateKeys gateKeys_;

  TCoches Coches{};
  TRaceState RaceState{};
  bool Spanish = true;
  RaceScreen screen_;
  std::string dayBase_;
  std::string nextRaceBase_;
  int sponsorLevel_ = 0;
  bool sponsorRising_ = false;
  std::string bootId_;
  bool resumed_ = false;    // the race running was continued after a crash
  bool replaying_ = false;  // passes already on disk are being taken in again
};

// F1..F12 as virtual-key codes.
inline constexpr int kVkF1 = 112;
inline constexpr int kVkF12 = 123;

}  // namespace race
