#pragma once
// The race settings the operator makes before a start, and their rules.

#include <array>
#include <string>

#include "race/model.h"

namespace race {

inline constexpr int kDurationItems = 7;
inline constexpr int kOtherDurationItem = 6;
inline constexpr int kMinSpinMinutes = 1;
inline constexpr int kMaxSpinMinutes = 180;
inline constexpr int kMinMinLapSeconds = 3;
inline constexpr int kMaxMinLapSeconds = 999999999;
inline constexpr int kDescriptionMaxLength = 50;

class RaceSetup final {
 public:
  RaceSetup();

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
