// The voice on the stream of race facts: what a race with voice on says,
// and which recorded cues it keeps, through the race's own handlers.
#include "race/voice.h"

#include <gtest/gtest.h>

#include "race/race_control.h"
#include "support/fake_speaker.h"
#include "support/fakes.h"

namespace {

using Lines = std::vector<std::string>;
using namespace testing_support;

class VoiceRace : public ::testing::Test {
 protected:
  VoiceRace() {
    race.AddListener(&voice);
    race.InitTiming();
    race.SetNumbering("261206", 1);
    sound.AddAllCues();
    race.Setup().SetSoundBoxEnabled(true);
    race.Setup().SetSoundTicked(true);
    for (int n = 1; n <= 12; ++n) race.CheckBoxClick(n, n == 2 || n == 3);
  }
  void Start(bool insteadOfCues) {
    race::VoiceSettings s;
    s.on = true;
    s.insteadOfCues = insteadOfCues;
    voice.Configure(s);
    race.RadioGroup2Click(0);
    race.RadioGroup1Click(1);  // common timing: the first crossing ends lap 1
    ASSERT_TRUE(race.Button1Click());
  }
  void Wait(double seconds) {
    counter.AdvanceSeconds(seconds);
    clock.AdvanceMillis(static_cast<std::int64_t>(seconds * 1000 + 0.5));
  }
  void Key(int car) { race.FormKeyDown(race::kVkF1 - 1 + car); }
  // The speaker ends its sentence and takes the next.
  void Spoken() {
    speaker.Finish();
    voice.Pump();
  }

  FakeCounter counter;
  FakeClock clock;
  FakeSound sound;
  MemorySink sink;
  FakeSpeaker speaker;
  race::RaceControl* control = &race;
  race::Voice voice{speaker, [this] { return counter.now() / 1000000; }, [this] { return control->spanish(); }};
  race::CuesBesideVoice cues{sound, voice};
  race::RaceControl race{counter, clock, cues, sink};
};

TEST_F(VoiceRace, SpeechInPlaceOfCuesReadsPassesLeaderAndFinishWithTheHeatsNames) {
  voice.SetNamesLookup([](const records::RaceId& id) {
    return id.Text() == "26120601" ? race::DriverNames{{2, "Marta"}} : race::DriverNames{};
  });
  Start(true);
  Wait(10.04);
  Key(2);
  EXPECT_EQ(speaker.said, (Lines{"Lidera Marta, diez coma cero"}));
  Wait(1.25);
  Key(3);  // while the speaker reads, the pass waits
  EXPECT_EQ(speaker.said.size(), 1u);
  Spoken();
  EXPECT_EQ(speaker.said.back(), "Coche tres, once coma tres");
  Spoken();
  race.Finalizar(true);
  EXPECT_EQ(speaker.said.back(), "Clasificación. Primero, Marta. Segundo, coche tres");
  // The start and end cues stay; the pass cues gave way to speech.
  EXPECT_EQ(sound.played.front(), "sal.wav");
  EXPECT_EQ(std::count(sound.played.begin(), sound.played.end(), "2.wav"), 0);
  EXPECT_EQ(sound.played.back(), "finto.wav");

  // The next race is no heat: car numbers, in English, cue first.
  Spoken();
  race.ToggleLanguage();
  Start(false);
  Wait(12.3);
  Key(2);
  EXPECT_EQ(sound.played.back(), "2e.wav");
  EXPECT_EQ(speaker.said.back(), "Car two leads, twelve point three");
  EXPECT_FALSE(speaker.inSpanish.back());
}

TEST_F(VoiceRace, WithoutASpeechEngineTheCuesPlayAndALineUpWaitsForTheRaceToEnd) {
  speaker.available = false;
  Start(true);
  Wait(10);
  Key(2);
  EXPECT_EQ(sound.played.back(), "2.wav");
  EXPECT_TRUE(speaker.said.empty());
  race.Finalizar(true);

  speaker.available = true;
  Start(false);
  voice.AnnounceHeat({{1, "Luis"}, {4, "Ana"}});
  Wait(10);
  Key(3);
  Spoken();
  EXPECT_EQ(speaker.said, (Lines{"Lidera el coche tres, diez coma cero"}));
  race.Finalizar(true);
  Spoken();
  EXPECT_EQ(speaker.said.back(), "Próxima manga. Coche uno, Luis. Coche cuatro, Ana");
}

}  // namespace
