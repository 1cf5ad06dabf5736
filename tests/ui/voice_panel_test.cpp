#include "ui/voice_panel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSettings>

#include "support/fake_speaker.h"
#include "support/temp_dir.h"

namespace {

class VoicePanelTest : public ::testing::Test {
 protected:
  VoicePanelTest() {
    speaker.spanishVoices = {"Spanish (Spain)", "Spanish (Spain)+Marta"};
    speaker.englishVoices = {"English (Great Britain)"};
    QObject::connect(&panel, &ui::VoicePanel::SettingsChanged,
                     [this](const ui::VoiceSetting& setting) { ui::SaveVoiceSetting(settings, setting); });
    panel.SetSpanish(true);
  }
  template <typename T>
  T* Find(const char* name) const {
    return panel.findChild<T*>(QString::fromLatin1(name));
  }
  void Choose(const char* box, int index) {
    auto* combo = Find<QComboBox>(box);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }

  testing_support::TempDir dir;
  QSettings settings{QString::fromStdString(dir.path() + "/trelvix.conf"), QSettings::IniFormat};
  testing_support::FakeSpeaker speaker;
  ui::VoicePanel panel{speaker};
};

TEST_F(VoicePanelTest, OffByDefaultAndWhatTheDirectorTicksIsKeptForTheNextRun) {
  EXPECT_FALSE(Find<QCheckBox>("VoiceOn")->isChecked());
  EXPECT_EQ(Find<QComboBox>("VoiceChoice")->currentText(), QStringLiteral("(la de siempre)"));
  EXPECT_EQ(Find<QComboBox>("VoiceChoice")->count(), 3);
  Find<QCheckBox>("VoiceOn")->click();
  Find<QCheckBox>("VoicePosition")->click();
  Find<QCheckBox>("VoiceClock")->click();
  Choose("VoiceChoice", 2);
  Choose("VoiceCues", 1);

  QSettings file(settings.fileName(), QSettings::IniFormat);
  EXPECT_TRUE(file.value("voice/on").toBool());
  EXPECT_TRUE(file.value("voice/passes").toBool());
  EXPECT_TRUE(file.value("voice/position").toBool());
  EXPECT_FALSE(file.value("voice/clock").toBool());
  EXPECT_TRUE(file.value("voice/insteadofcues").toBool());
  EXPECT_EQ(file.value("voice/voice").toString(), QStringLiteral("Spanish (Spain)+Marta"));

  // The next run shows it as kept; in English a Spanish voice stays chosen.
  testing_support::FakeSpeaker other;
  other.englishVoices = speaker.englishVoices;
  ui::VoicePanel next(other);
  const ui::VoiceSetting kept = ui::LoadVoiceSetting(file);
  next.SetSettings(kept);
  next.SetSpanish(false);
  EXPECT_TRUE(next.settings().says.on && next.settings().says.position && !next.settings().says.clock);
  EXPECT_TRUE(next.settings().says.insteadOfCues);
  EXPECT_EQ(next.findChild<QComboBox*>("VoiceChoice")->currentText(), QStringLiteral("Spanish (Spain)+Marta"));
  EXPECT_EQ(next.findChild<QGroupBox*>("VoiceGroup")->title(), QStringLiteral("Voice"));
}

TEST_F(VoicePanelTest, DisabledDuringARaceAndSaysWhenNoEngineSpeaks) {
  EXPECT_FALSE(Find<QLabel>("VoiceState")->isVisibleTo(&panel));
  panel.SetRaceRunning(true);
  EXPECT_FALSE(panel.isEnabled());
  EXPECT_EQ(Find<QLabel>("VoiceState")->text(), QStringLiteral("No se cambia durante la carrera."));
  panel.SetRaceRunning(false);
  EXPECT_TRUE(panel.isEnabled());

  speaker.available = false;
  panel.SetSpanish(true);
  EXPECT_EQ(Find<QLabel>("VoiceState")->text(),
            QStringLiteral("No hay motor de voz en este ordenador: suenan sólo los sonidos grabados."));
  panel.SetSpanish(false);
  EXPECT_EQ(Find<QLabel>("VoiceState")->text(),
            QStringLiteral("No speech engine on this computer: only the recorded cues play."));
  EXPECT_TRUE(Find<QLabel>("VoiceState")->isVisibleTo(&panel));
}

}  // namespace
