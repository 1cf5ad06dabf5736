#pragma once
// A race's settings, and the setup panel's choices that make them.

#include <array>
#include <string>
#include <vector>

#include "race/model.h"

namespace race {

inline constexpr int kDurationItems = 7;
inline constexpr int kOtherDurationItem = 6;
inline constexpr int kMinSpinMinutes = 1;
inline constexpr int kMaxSpinMinutes = 180;
inline constexpr int kMinMinLapSeconds = 3;
inline constexpr int kMaxMinLapSeconds = 999999999;
inline constexpr int kDescriptionMaxLength = 50;

// What a race is started with, whoever made it: the setup panel, a meeting
// heat, the journal of a race continued after a crash.
struct RaceSetup {
  std::array<bool, kCars + 1> participates{};  // by car number 1..12
  int minutes = 5;
  bool individualTiming = true;
  int minLapSeconds = 13;
  std::string description;  // as the records get it: one line
  bool soundOn = false;     // cues during the race

  int Participants() const noexcept;
  std::vector<int> Cars() const;  // the participating cars, ascending
  bool operator==(const RaceSetup&) const = default;
};

// The setup panel's choices: participant boxes, duration, timing, minimum
// lap, a description per language and the sound box, with their rules.
class SetupChoices final {
 public:
  SetupChoices();

  // Participant boxes; cars 1 to 10 take part at start-up.
  bool Participates(int car) const { return participates_.at(car); }
  void SetParticipates(int car, bool on) { participates_.at(car) = on; }
  int CountParticipants() const;

  // Duration choice: items 0..5 are 5, 10, 15, 20, 30 and 45 minutes, item 6
  // the minutes of the spin box. Choosing a duration or moving the spin box
  // sets the timing: individual for 5 and 10 minutes and for "other" up to
  // 10 minutes, common otherwise.
  int durationItem() const noexcept { return durationItem_; }
  int spinMinutes() const noexcept { return spinMinutes_; }
  void ChooseDuration(int item);
  void SetSpinMinutes(int minutes);
  int ReadRaceMinutes() const;

  // Timing choice: item 0 individual, item 1 common.
  int timingItem() const noexcept { return timingItem_; }
  void ChooseTiming(int item);
  bool IndividualTiming() const noexcept { return timingItem_ == 0; }

  int minLapSeconds() const noexcept { return minLapSeconds_; }
  void SetMinLapSeconds(int seconds);

  // One description per language; the box edits the current language's.
  const std::string& Description(bool spanish) const { return spanish ? descriptionEs_ : descriptionEn_; }
  void SetDescription(bool spanish, std::string text);

  // The sound box: usable only when the start-up sound check passed.
  bool soundBoxEnabled() const noexcept { return soundBoxEnabled_; }
  void SetSoundBoxEnabled(bool enabled) noexcept { soundBoxEnabled_ = enabled; }
  bool soundTicked() const noexcept { return soundTicked_; }
  void SetSoundTicked(bool ticked) noexcept { soundTicked_ = ticked; }
  bool SoundOn() const noexcept { return soundBoxEnabled_ && soundTicked_; }

  // The race these choices make, with the description of the language.
  RaceSetup Setup(bool spanish) const;
  // The panel shows a race's settings: its cars, its length (a preset when
  // it is one, else "other" with the spin box), its timing whatever its
  // length suggests, its minimum lap, its description in the language and
  // its sound.
  void Show(const RaceSetup& setup, bool spanish);

 private:
  void TimingFollowsDuration();

  std::array<bool, kCars + 1> participates_{};
  int durationItem_ = 0;
  int spinMinutes_ = kMinSpinMinutes;
  int timingItem_ = 0;
  int minLapSeconds_ = 13;
  std::string descriptionEs_ = "Descripción de carrera";
  std::string descriptionEn_ = "Race description";
  bool soundBoxEnabled_ = false;
  bool soundTicked_ = false;
};

// The race length of a duration item ("5 min" ... "45 min", "Otra...").
int DurationMinutes(int item, int spinMinutes);

}  // namespace race
