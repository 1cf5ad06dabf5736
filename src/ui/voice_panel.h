#pragma once
// The voice's settings, for the connections window: a box that switches
// the voice on, a tick per kind of announcement, the voice to read with and
// whether speech follows the recorded cue or takes the place of the pass
// cues. Says when the machine has no speech engine. Every text in Spanish
// and English; keeping the setting is the caller's (SettingsChanged tells
// it; LoadVoiceSetting and SaveVoiceSetting read and write it).

#include <QWidget>
#include <array>

#include "race/announcer.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QSettings;

namespace platform {
class Speaker;
}

namespace ui {

// The voice's setting as kept between runs.
struct VoiceSetting {
  race::VoiceSettings says;  // its language is the program's, not kept
  QString voice;             // empty: the language's default voice
};
VoiceSetting LoadVoiceSetting(const QSettings& settings);
void SaveVoiceSetting(QSettings& settings, const VoiceSetting& setting);

class VoicePanel final : public QWidget {
  Q_OBJECT
 public:
  explicit VoicePanel(platform::Speaker& speaker, QWidget* parent = nullptr);

  // The texts, the voices of the language and whether an engine is there.
  void SetSpanish(bool spanish);
  // Its settings cannot change during a race.
  void SetRaceRunning(bool running);
  // The setting as kept; emits no SettingsChanged.
  void SetSettings(const VoiceSetting& setting);
  VoiceSetting settings() const;
  // The speech engine came up or turned out to be missing.
  void ShowEngine();

 signals:
  void SettingsChanged(const ui::VoiceSetting& setting);

 private:
  void FillVoices();
  void OperatorChanged();

  platform::Speaker& speaker_;
  bool spanish_ = true;
  bool applying_ = false;
  QString voice_;  // the chosen voice, also while the list lacks it
  QGroupBox* group_ = nullptr;
  QCheckBox* on_ = nullptr;
  std::array<QCheckBox*, 6> items_{};  // passes, position, leader, clock, finish, heats
  QLabel* voiceCaption_ = nullptr;
  QComboBox* voices_ = nullptr;
  QLabel* cuesCaption_ = nullptr;
  QComboBox* cues_ = nullptr;
  QLabel* state_ = nullptr;
};

}  // namespace ui
