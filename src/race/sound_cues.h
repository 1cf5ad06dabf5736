#pragma once
// Which cue file or beep a moment of the race gives, in which language.

#include <string>
#include <vector>

#include "platform/sound.h"
#include "race/model.h"

namespace race {

class SoundCues final {
 public:
  explicit SoundCues(platform::SoundDevice& device) : device_(device) {}

  // Start and end cues: the file of the language when it exists; in English
  // the Spanish file stands in for a missing English one; otherwise a beep.
  // Without sound, always the beep.
  void PlayCue(const std::string& spanishFile, const std::string& englishFile, bool soundOn, bool spanish);
  void StartCue(bool soundOn, bool spanish) { PlayCue("sal.wav", "sale.wav", soundOn, spanish); }
  void EndCue(bool soundOn, bool spanish) { PlayCue("finto.wav", "fintoe.wav", soundOn, spanish); }

  // The car's cue at an accepted pass: silent without sound; no fallback to
  // the other language.
  void LapCue(int car, bool soundOn, bool spanish);
  // A pass that finishes its car: "fin.wav"/"fine.wav", beep without sound.
  void FinishCue(bool soundOn, bool spanish);

  void Beep() { device_.Beep(); }

 private:
  void FileOrBeep(const std::string& file);
  platform::SoundDevice& device_;
};

// What start-up finds out about sound.
struct SoundCheck {
  bool deviceFound = false;
  int spanishLapCues = 0;  // of 1.wav .. 12.wav
  int englishLapCues = 0;  // of 1e.wav .. 12e.wav
  int spanishOtherCues = 0;  // of sal, fin, finto
  int englishOtherCues = 0;  // of sale, fine, fintoe
  // The sound box can be ticked only with a device and all twelve Spanish
  // lap cues.
  bool SoundBoxEnabled() const noexcept { return deviceFound && spanishLapCues == kCars; }
  // The sound lines of the start-up report.
  std::vector<std::string> ReportLines() const;
};

SoundCheck CheckSound(platform::SoundDevice& device);

// The names of every cue file, Spanish and English.
std::vector<std::string> AllCueFiles();

}  // namespace race
