#pragma once
// The voice following the race: each fact of the stream goes to the
// announcer, and the speaker is handed the next sentence whenever it is
// free. A fact is only noted; nothing here waits for the speaker.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/sound.h"
#include "platform/speaker.h"
#include "race/announcer.h"
#include "race/race_listener.h"

namespace race {

class Voice final : public RaceListener {
 public:
  // `nowMs` reads the race's counter in milliseconds (the facts' clock);
  // `spanish` is the program's language.
  Voice(platform::Speaker& speaker, std::function<std::int64_t()> nowMs, std::function<bool()> spanish);

  // The director's settings; the language is always the program's.
  void Configure(const VoiceSettings& settings);
  const VoiceSettings& Settings() const noexcept { return announcer_.Settings(); }

  // The drivers of a race that is a meeting heat, by car; a race it gives
  // no names for is read by car numbers (the default).
  using NamesLookup = std::function<DriverNames(const records::RaceId&)>;
  void SetNamesLookup(NamesLookup lookup) { names_ = std::move(lookup); }
  // A meeting heat was prepared: its line-up (car -> short name) is read
  // out between races.
  void AnnounceHeat(const DriverNames& lineUp);

  // Whether the race running reads its passes in place of the recorded lap
  // and finish cues: the director's pick, when a speech engine is there.
  bool ReplacesLapCues() const noexcept { return replacesCues_; }

  // The speaker is free: it is handed the next sentence, if any.
  void Pump();

  void RaceStarted(const StartFact& fact) override;
  void PassRecorded(const PassFact& fact) override;
  void ClockTicked(const TickFact& fact) override;
  void RaceFinished(const FinishFact& fact) override;

 private:
  void FollowLanguage();

  platform::Speaker& speaker_;
  std::function<std::int64_t()> nowMs_;
  std::function<bool()> spanish_;
  NamesLookup names_;
  Announcer announcer_;
  bool replacesCues_ = false;
};

// The sound device as the race hears it: while the voice reads the passes
// in their place, the lap and finish cues are left out; every other cue and
// every beep goes through.
class CuesBesideVoice final : public platform::SoundDevice {
 public:
  CuesBesideVoice(platform::SoundDevice& device, const Voice& voice) : device_(device), voice_(voice) {}
  int OutputDeviceCount() override { return device_.OutputDeviceCount(); }
  bool CueExists(const std::string& fileName) override { return device_.CueExists(fileName); }
  void PlayCue(const std::string& fileName) override;
  void Beep() override { device_.Beep(); }

 private:
  platform::SoundDevice& device_;
  const Voice& voice_;
};

}  // namespace race
