#include "race/sound_cues.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace {

using Played = std::vector<std::string>;

class SoundCuesTest : public ::testing::Test {
 protected:
  testing_support::FakeSound device;
  race::SoundCues cues{device};
};

TEST_F(SoundCuesTest, StartAndEndCuesByLanguageWithTheOneEnglishFallback) {
  device.AddAllCues({"sale.wav", "finto.wav"});
  cues.StartCue(true, true);
  cues.StartCue(true, false);  // "sale.wav" missing: the Spanish file stands in
  cues.EndCue(true, false);
  cues.EndCue(true, true);  // "finto.wav" missing
  EXPECT_EQ(device.played, (Played{"sal.wav", "sal.wav", "fintoe.wav", "BEEP"}));
}

TEST_F(SoundCuesTest, LapCuesHaveNoFallbackToTheOtherLanguage) {
  device.AddAllCues({"3e.wav"});
  cues.LapCue(3, true, false);
  cues.LapCue(4, true, false);
  cues.LapCue(3, true, true);
  EXPECT_EQ(device.played, (Played{"BEEP", "4e.wav", "3.wav"}));
}

TEST_F(SoundCuesTest, WithoutSoundPassesAreSilentAndEverythingElseBeeps) {
  device.AddAllCues();
  cues.LapCue(1, false, true);
  cues.FinishCue(false, true);
  cues.StartCue(false, true);
  cues.EndCue(false, false);
  EXPECT_EQ(device.played, (Played{"BEEP", "BEEP", "BEEP"}));
}

TEST_F(SoundCuesTest, FinishCueByLanguage) {
  device.AddAllCues({"fine.wav"});
  cues.FinishCue(true, true);
  cues.FinishCue(true, false);
  EXPECT_EQ(device.played, (Played{"fin.wav", "BEEP"}));
}

TEST_F(SoundCuesTest, SoundCheckReport) {
  device.devices = 0;
  auto none = race::CheckSound(device);
  EXPECT_FALSE(none.SoundBoxEnabled());
  EXPECT_EQ(none.ReportLines(), (Played{"Sonido: no", "Compra tarjeta"}));

  device.devices = 1;
  for (int n = 1; n <= 12; ++n) device.files.push_back(std::to_string(n) + ".wav");
  device.files.push_back("fin.wav");
  device.files.push_back("fintoe.wav");
  auto spanishOnly = race::CheckSound(device);
  EXPECT_TRUE(spanishOnly.SoundBoxEnabled());
  EXPECT_EQ(spanishOnly.ReportLines(),
            (Played{"Sonido: sí", "Ficheros de sonido: sí (12+0)", "Auxiliares sonido: 1+1"}));

  device.files.erase(device.files.begin());  // 1.wav gone
  auto missing = race::CheckSound(device);
  EXPECT_FALSE(missing.SoundBoxEnabled());
  EXPECT_EQ(missing.ReportLines()[1], "Ficheros de sonido: no (11+0)");
}

}  // namespace
