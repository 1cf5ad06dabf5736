#include "race/setup.h"

#include <algorithm>

namespace race {

RaceSetup::RaceSetup() {
  for (int n = 1; n <= kCars; ++n) participates_[n] = n <= 10;
}

int RaceSetup::CountParticipants() const {
  return static_cast<int>(std::count(participates_.begin() + 1, participates_.end(), true));
}

int DurationMinutes(int item, int spinMinutes) {
  static constexpr int kPreset[] = {5, 10, 15, 20, 30, 45};
  if (item >= 0 && item < kOtherDurationItem) return kPreset[item];
  return std::clamp(spinMinutes, kMinSpinMinutes, kMaxSpinMinutes);
}

void RaceSetup::ChooseDuration(int item) {
  durationItem_ = std::clamp(item, 0, kDurationItems - 1);
  TimingFollowsDuration();
}

void RaceSetup::SetSpinMinutes(int minutes) {
  spinMinutes_ = std::clamp(minutes, kMinSpinMinutes, kMaxSpinMinutes);
  TimingFollowsDuration();
}

int RaceSetup::ReadRaceMinutes() const { return DurationMinutes(durationItem_, spinMinutes_); }

void RaceSetup::ChooseTiming(int item) { timingItem_ = item == 0 ? 0 : 1; }

void RaceSetup::SetMinLapSeconds(int seconds) {
  minLapSeconds_ = std::clamp(seconds, kMinMinLapSeconds, kMaxMinLapSeconds);
}

void RaceSetup::SetDescription(bool spanish, std::string text) {
  (spanish ? descriptionEs_ : descriptionEn_) = std::move(text);
}

void RaceSetup::TimingFollowsDuration() {
  const bool shortRace = durationItem_ == 0 || durationItem_ == 1 ||
                         (durationItem_ == kOtherDurationItem && spinMinutes_ <= 10);
  timingItem_ = shortRace ? 0 : 1;
}

}  // namespace race
