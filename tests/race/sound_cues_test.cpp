#include "race/sound_cues.h"

#include <gtest/gtest.h>

#include "platform/cue_queue.h"
#include "race_harness.h"
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

// A device whose cues play until the test ends them.
class HeldBackend final : public platform::CueBackend {
 public:
  int OutputDeviceCount() override { return 1; }
  bool CueExists(const std::string&) override { return true; }
  void Start(const std::string& fileName) override { started.push_back(fileName.empty() ? "BEEP" : fileName); }
  Played started;
};

TEST(SoundCuesTiming, ALongCueNeverDelaysTheTimingOfTheNextPass) {
  HeldBackend backend;
  platform::CueQueue queue(backend);
  testing_support::FakeCounter counter;
  testing_support::FakeClock clock;
  testing_support::MemorySink sink;
  race::RaceControl control(counter, clock, queue, sink);
  control.InitTiming();
  control.SetNumbering("261206", 1);
  control.Setup().SetSoundBoxEnabled(true);
  control.Setup().SetSoundTicked(true);
  control.RadioGroup2Click(3);  // common timing
  ASSERT_TRUE(control.Button1Click());
  counter.AdvanceSeconds(20);
  control.FormKeyDown(race::kVkF1);  // car 1: its cue waits behind the start cue, which lasts
  counter.AdvanceSeconds(0.5);
  control.FormKeyDown(race::kVkF1 + 1);  // car 2, half a second later
  EXPECT_EQ(sink.passes, (std::vector<std::string>{"1\t1\t1\t20,000\t00'20\"000", "2\t2\t1\t20,500\t00'20\"500"}));
  EXPECT_EQ(backend.started, Played{"sal.wav"});
  queue.CueFinished();
  queue.CueFinished();
  EXPECT_EQ(backend.started, (Played{"sal.wav", "1.wav", "2.wav"}));
}

}  // namespace
