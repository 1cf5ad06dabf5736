#include "race/setup.h"

#include <algorithm>

#include "records/cp1252.h"

namespace race {

namespace {

constexpr std::array<int, kOtherDurationItem> kPresetMinutes = {5, 10, 15, 20, 30, 45};

}  // namespace

int RaceSetup::Participants() const noexcept {
  return static_cast<int>(std::count(participates.begin() + 1, participates.end(), true));
}

std::vector<int> RaceSetup::Cars() const {
  std::vector<int> cars;
  for (int n = 1; n <= kCars; ++n) {
    if (participates[static_cast<std::size_t>(n)]) cars.push_back(n);
  }
  return cars;
}

SetupChoices::SetupChoices() {
  for (int n = 1; n <= kCars; ++n) participates_[static_cast<std::size_t>(n)] = n <= 10;
}

int SetupChoices::CountParticipants() const {
  return static_cast<int>(std::count(participates_.begin() + 1, participates_.end(), true));
}

int DurationMinutes(int item, int spinMinutes) {
  if (item >= 0 && item < kOtherDurationItem) return kPresetMinutes[static_cast<std::size_t>(item)];
  return std::clamp(spinMinutes, kMinSpinMinutes, kMaxSpinMinutes);
}

void SetupChoices::ChooseDuration(int item) {
  durationItem_ = std::clamp(item, 0, kDurationItems - 1);
  TimingFollowsDuration();
}

void SetupChoices::SetSpinMinutes(int minutes) {
  spinMinutes_ = std::clamp(minutes, kMinSpinMinutes, kMaxSpinMinutes);
  TimingFollowsDuration();
}

int SetupChoices::ReadRaceMinutes() const { return DurationMinutes(durationItem_, spinMinutes_); }

void SetupChoices::ChooseTiming(int item) { timingItem_ = item == 0 ? 0 : 1; }

void SetupChoices::SetMinLapSeconds(int seconds) {
  minLapSeconds_ = std::clamp(seconds, kMinMinLapSeconds, kMaxMinLapSeconds);
}

void SetupChoices::SetDescription(bool spanish, std::string text) {
  (spanish ? descriptionEs_ : descriptionEn_) = std::move(text);
}

void SetupChoices::TimingFollowsDuration() {
  const bool shortRace = durationItem_ == 0 || durationItem_ == 1 ||
                         (durationItem_ == kOtherDurationItem && spinMinutes_ <= 10);
  timingItem_ = shortRace ? 0 : 1;
}

RaceSetup SetupChoices::Setup(bool spanish) const {
  RaceSetup setup;
  setup.participates = participates_;
  setup.minutes = ReadRaceMinutes();
  setup.individualTiming = IndividualTiming();
  setup.minLapSeconds = minLapSeconds_;
  // A pasted line break or TAB must not split the classification's first line.
  setup.description = records::FieldText(Description(spanish));
  setup.soundOn = SoundOn();
  return setup;
}

void SetupChoices::Show(const RaceSetup& setup, bool spanish) {
  for (int n = 1; n <= kCars; ++n) SetParticipates(n, setup.participates[static_cast<std::size_t>(n)]);
  const auto preset = std::find(kPresetMinutes.begin(), kPresetMinutes.end(), setup.minutes);
  if (preset != kPresetMinutes.end()) {
    ChooseDuration(static_cast<int>(preset - kPresetMinutes.begin()));
  } else {
    ChooseDuration(kOtherDurationItem);
    SetSpinMinutes(std::clamp(setup.minutes, kMinSpinMinutes, kMaxSpinMinutes));
  }
  ChooseTiming(setup.individualTiming ? 0 : 1);
  SetMinLapSeconds(setup.minLapSeconds);
  SetDescription(spanish, setup.description);
  SetSoundTicked(setup.soundOn);
}

}  // namespace race
