#pragma once
// What the voice says at the track, and what it leaves out: the facts of
// the race go in as they happen, the speaker takes the next sentence when
// it is free. Nothing here waits, and what falls behind is dropped rather
// than said late: only what is still true and still news is said.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/speaker.h"
#include "race/model.h"
#include "race/spoken_texts.h"

namespace race {

// The voice settings; each kind of announcement has its own tick.
struct VoiceSettings {
  bool on = false;
  bool passes = true;     // each accepted pass: the car or driver and the lap time
  bool position = false;  // ... and the position after the pass
  bool leader = true;     // a new leader
  bool clock = true;      // one minute left, and the race time over
  bool finish = true;     // the finish order
  bool heats = true;      // a prepared heat's line-up
  // The director's pick for the race: speech instead of the recorded lap and
  // finish cues. Otherwise both play, the cue first.
  bool insteadOfCues = false;
  bool spanish = true;  // the program's language

  // Whether the lap and finish cues give way to speech. Without spoken
  // passes they never do: the race would be silent.
  bool ReplacesLapCues() const noexcept { return on && passes && insteadOfCues; }
};

// How long a fact stays worth saying; older ones are dropped unsaid.
inline constexpr std::int64_t kPassLifetimeMs = 5000;
inline constexpr std::int64_t kLeaderLifetimeMs = 10000;
inline constexpr std::int64_t kClockLifetimeMs = 10000;
// Passes waiting for the speaker at most; a burst of cars keeps the best.
inline constexpr int kMaxWaitingPasses = 3;
// The one-minute call.
inline constexpr std::int64_t kOneMinuteMs = 60000;

struct RaceStart {
  std::vector<int> cars;  // the cars taking part
  DriverNames names;      // in a meeting heat, each car's driver; empty otherwise
};

// An accepted pass, once its line is on disk.
struct PassNews {
  int car = 0;
  std::int64_t lapMs = 0;  // the lap it completed
  int laps = 0;            // the car's laps after it; 0 for the crossing that starts an individual clock
  int position = 0;        // the car's place after it
  int leader = 0;          // the car first after it
  bool finished = false;   // the pass finished the car
};

struct Utterance {
  enum class Kind { kFinish, kLineUp, kLeader, kClock, kPass };
  Kind kind = Kind::kPass;
  std::string text;
  bool spanish = true;
  std::int64_t factMs = 0;  // when the fact it tells happened
};

class Announcer final {
 public:
  // Settings may change at any time; turning the voice off forgets what waits.
  void Configure(const VoiceSettings& settings);
  const VoiceSettings& Settings() const noexcept { return settings_; }

  // Times are milliseconds of one steady clock (the race counter).
  // A start forgets everything of the race before and of the line-up.
  void RaceStarted(const RaceStart& start, std::int64_t nowMs);
  void PassAccepted(const PassNews& pass, std::int64_t nowMs);
  // The race clock: the race time left, negative once it is over.
  void ClockTick(std::int64_t remainingMs, std::int64_t nowMs);
  // The race has ended: the cars in their finishing order.
  void RaceFinished(const std::vector<int>& order, std::int64_t nowMs);
  // A meeting heat was prepared: car number -> driver's short name.
  void HeatPrepared(const DriverNames& lineUp, std::int64_t nowMs);

  // The sentence to say now, if any: what the speaker asks for when it is free.
  std::optional<Utterance> Next(std::int64_t nowMs);
  bool Waiting() const noexcept;

 private:
  struct Pending {
    bool set = false;
    std::int64_t atMs = 0;
  };
  struct WaitingPass {
    bool set = false;
    std::int64_t atMs = 0;
    std::int64_t lapMs = 0;
    int position = 0;
    bool finished = false;
    std::uint64_t order = 0;  // the order in which passes came
  };

  void ForgetRace() noexcept;  // what waits of the race running
  void Forget() noexcept;      // and the finish order and line-up too
  void KeepBestPasses();
  // Lower is said first: finishing cars, the leader, then the car heard
  // least recently, then the earlier pass.
  bool SaidBefore(int a, int b) const noexcept;
  Utterance Make(Utterance::Kind kind, std::string text, std::int64_t factMs) const;
  std::optional<Utterance> NextPass(std::int64_t nowMs);

  VoiceSettings settings_;
  bool running_ = false;
  std::array<bool, kCars + 1> racing_{};
  DriverNames names_;

  std::optional<std::vector<int>> finishOrder_;
  std::int64_t finishAtMs_ = 0;
  std::optional<DriverNames> lineUp_;
  std::int64_t lineUpAtMs_ = 0;

  int leader_ = 0;        // the car first now
  int spokenLeader_ = 0;  // the leader last announced
  Pending leaderNews_;
  bool sawOverAMinute_ = false;
  bool sawTimeLeft_ = false;
  bool minuteCalled_ = false;
  bool timeUpCalled_ = false;
  Pending oneMinute_;
  Pending timeUp_;

  std::array<WaitingPass, kCars + 1> passes_{};
  std::array<std::optional<std::int64_t>, kCars + 1> heardAtMs_{};  // the car's last pass said
  std::uint64_t passOrder_ = 0;
};

// The speaker, when ready, says the next sentence. True when it was given one.
// Call it after feeding a fact and whenever the speaker becomes free.
bool SpeakNext(Announcer& announcer, platform::Speaker& speaker, std::int64_t nowMs);

}  // namespace race
