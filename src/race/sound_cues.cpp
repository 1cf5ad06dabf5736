#include "race/sound_cues.h"
#include "race/model.h"

namespace race {

void SoundCues::FileOrBeep(const std::string& file) {
  if (device_.CueExists(file)) {
    device_.PlayCue(file);
  } else {
    device_.Beep();
  }
}

void SoundCues::PlayCue(const std::string& spanishFile, const std::string& englishFile, bool soundOn,
                        bool spanish) {
  // English falls back to the Spanish file before the beep.
  if (!soundOn) {
    device_.Beep();
  } else if (!spanish && device_.CueExists(englishFile)) {
    device_.PlayCue(englishFile);
  } else {
    FileOrBeep(spanishFile);
  }
}

void SoundCues::LapCue(int car, bool soundOn, bool spanish) {
  if (!soundOn) return;
  FileOrBeep(std::to_string(car) + (spanish ? ".wav" : "e.wav"));
}

void SoundCues::FinishCue(bool soundOn, bool spanish) {
  if (!soundOn) {
    device_.Beep();
    return;
  }
  FileOrBeep(spanish ? "fin.wav" : "fine.wav");
}

SoundCheck CheckSound(platform::SoundDevice& device) {
  SoundCheck check;
  check.deviceFound = device.OutputDeviceCount() >= 1;
  if (!check.deviceFound) return check;
  for (int n = 1; n <= kCars; ++n) {
    if (device.CueExists(std::to_string(n) + ".wav")) ++check.spanishLapCues;
    if (device.CueExists(std::to_string(n) + "e.wav")) ++check.englishLapCues;
  }
  for (const char* f : {"sal.wav", "fin.wav", "finto.wav"}) check.spanishOtherCues += device.CueExists(f) ? 1 : 0;
  for (const char* f : {"sale.wav", "fine.wav", "fintoe.wav"}) check.englishOtherCues += device.CueExists(f) ? 1 : 0;
  return check;
}

std::vector<std::string> AllCueFiles() {
  std::vector<std::string> all = {"sal.wav", "sale.wav", "fin.wav", "fine.wav", "finto.wav", "fintoe.wav"};
  for (int n = 1; n <= kCars; ++n) {
    all.push_back(std::to_string(n) + ".wav");
    all.push_back(std::to_string(n) + "e.wav");
  }
  return all;
}

std::vector<std::string> SoundCheck::ReportLines() const {
  if (!deviceFound) return {"Sonido: no", "Compra tarjeta"};
  return {"Sonido: sí",
          std::string("Ficheros de sonido: ") + (spanishLapCues == kCars ? "sí (" : "no (") +
              std::to_string(spanishLapCues) + "+" + std::to_string(englishLapCues) + ")",
          "Auxiliares sonido: " + std::to_string(spanishOtherCues) + "+" + std::to_string(englishOtherCues)};
}

}  // namespace race
