#pragma once
// What the race director's window and the results window show of the race,
// as texts in the current language: the race control decides them, the
// windows only draw them.

#include <array>
#include <cstdint>
#include <string>

#include "race/model.h"
#include "race/session.h"
#include "race/texts.h"
#include "race/timing.h"

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

class ScreenTexts final {
 public:
  const RaceScreen& Screen() const noexcept { return screen_; }

  // The language flag `Spanish`: every text below is written in it.
  bool spanish() const noexcept { return spanish_; }
  // A new language: the idle words are written again, the message cleared.
  void SetSpanish(bool spanish, const RaceSession& race);

  // Between races: each car's word ("Parado" or "Desactivado") and the
  // race's ("Parada").
  void Idle(const RaceSession& race);
  void Participation(int car, bool takesPart);
  void ParticipantCount(int participants) { screen_.participantCount = std::to_string(participants); }
  void RaceLength(int minutes) { screen_.raceLength = std::to_string(minutes) + "'"; }
  void WatchedPanel(bool visible) noexcept { screen_.watchedPanelVisible = visible; }
  void NextFile(const std::string& base) { screen_.nextFile = base; }

  // The start: every row set for the race, the window running.
  void Started(const RaceSession& race, const TimingBase& timing);
  void PassCount(int passes) { screen_.passCount = std::to_string(passes); }
  void EventCount(int events) { screen_.eventCount = std::to_string(events); }
  void Message(std::string text) { screen_.message = std::move(text); }
  // The event rows: enabled for the cars that race and have not finished.
  void EventRows(const RaceSession& race);

  // A car finished: its word, its event row off, its watched time gone.
  void CarFinished(int car, const RaceSession& race);
  // An accepted pass of the car, its lap and total as written.
  void Pass(int car, const PassOutcome& pass, const std::string& lapText, const std::string& totalText,
            const RaceSession& race);

  // A lap added to the car by a correction: its laps, fastest lap and place.
  void LapAdded(int car, const std::string& fastestText, const RaceSession& race);

  // The clock tick: the sponsor line's pulse and the race clock at
  // `nowMillisOfDay` by the wall clock.
  void Tick(const RaceSession& race, std::int64_t nowMillisOfDay);
  // The race time is over: the race's word and the cars whose own time ran out.
  void TimeUp(const TickOutcome& tick);
  // The watched car's running time at counter count `now`.
  void Watched(const RaceSession& race, const TimingBase& timing, std::int64_t now);

  // The finish: "Finalizada", the window idle ...
  void Finishing();
  // ... and, once the race is over, every racing car "Parado".
  void Ended(const RaceSession& race);

 private:
  void Standings(const RaceSession& race);
  std::string RaceClockText(const TRaceState& race, std::int64_t nowMillisOfDay) const;
  void PulseSponsor();

  RaceScreen screen_;
  bool spanish_ = true;
  int sponsorLevel_ = 0;
  bool sponsorRising_ = false;
};

}  // namespace race
