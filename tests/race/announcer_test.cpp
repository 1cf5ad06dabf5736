#include "race/announcer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "race/spoken_numbers.h"
#include "support/fake_speaker.h"

namespace {

using Said = std::vector<std::string>;

race::VoiceSettings VoiceOn(bool spanish = true) {
  race::VoiceSettings s;
  s.on = true;
  s.spanish = spanish;
  return s;
}

// The track in simulated time. The speaker reads at about espeak's pace,
// 70 ms a character unless told, and takes the next sentence as soon as it
// is free.
class AnnouncerTest : public ::testing::Test {
 protected:
  void Start(const race::VoiceSettings& settings = VoiceOn(), int cars = 12, race::DriverNames names = {}) {
    announcer.Configure(settings);
    race::RaceStart start;
    for (int n = 1; n <= cars; ++n) start.cars.push_back(n);
    start.names = std::move(names);
    announcer.RaceStarted(start, now);
  }
  void Pump() {
    if (race::SpeakNext(announcer, speaker, now)) {
      doneAt = now + msPerCharacter * static_cast<std::int64_t>(speaker.said.back().size());
      saidAt.push_back(now);
    }
  }
  void RunTo(std::int64_t ms) {
    while (now < ms) {
      now = std::min(ms, now + 10);
      if (speaker.speaking && now >= doneAt) speaker.Finish();
      Pump();
    }
  }
  void Pass(int car, std::int64_t lapMs, int position, int leader, int laps = 5, bool finished = false) {
    announcer.PassAccepted({car, lapMs, laps, position, leader, finished}, now);
    Pump();
  }
  // Everything said from the given sentence on.
  Said SaidFrom(std::size_t first) const {
    return Said(speaker.said.begin() + static_cast<long>(first), speaker.said.end());
  }

  race::Announcer announcer;
  testing_support::FakeSpeaker speaker;
  std::int64_t now = 1000;
  std::int64_t doneAt = 0;
  std::int64_t msPerCharacter = 70;
  std::vector<std::int64_t> saidAt;
};

TEST_F(AnnouncerTest, TwelveCarsInOneSecondTakeAFewSentencesAndEveryCarItsTurn) {
  Start();
  msPerCharacter = 40;  // a quick reader: the waiting passes are bounded, not only their age
  std::array<int, 13> heard{};
  std::vector<int> others;  // the cars other than the leader, in the order heard
  for (int lap = 0; lap < 6; ++lap) {
    const std::int64_t lapStart = now;
    const std::size_t first = speaker.said.size();
    // The pack crosses in the same order every lap, 80 ms apart, car 1 leading.
    for (int car = 1; car <= 12; ++car) {
      Pass(car, 10000 + 100 * car, car, 1, lap + 1);
      RunTo(now + 80);
    }
    RunTo(lapStart + 10000);
    const Said lapSaid = SaidFrom(first);
    ASSERT_GE(lapSaid.size(), 2u);
    EXPECT_LE(lapSaid.size(), 4u) << lap;
    // The leader's pass is said at once, every lap.
    EXPECT_EQ(lapSaid[0], lap == 0 ? "Lidera el coche uno, diez coma uno" : "Coche uno, diez coma uno");
    EXPECT_EQ(saidAt[first], lapStart);
    for (std::size_t i = 0; i < lapSaid.size(); ++i) {
      int car = 1;  // known by its lap time
      while (car < 13 && lapSaid[i].find(race::SpokenTenths(10000 + 100 * car, true)) == std::string::npos) ++car;
      ASSERT_LT(car, 13) << lapSaid[i];
      ++heard.at(static_cast<std::size_t>(car));
      if (car != 1) others.push_back(car);
      EXPECT_LE(saidAt[first + i] - (lapStart + 80 * (car - 1)), race::kPassLifetimeMs) << lapSaid[i];
    }
  }
  // The others take turns: all eleven heard before any twice.
  EXPECT_EQ(heard[1], 6);
  ASSERT_GE(others.size(), 11u);
  std::vector<int> firstEleven(others.begin(), others.begin() + 11);
  std::sort(firstEleven.begin(), firstEleven.end());
  EXPECT_EQ(firstEleven, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST_F(AnnouncerTest, ANewLeaderIsSaidBeforeWaitingPassesAndOnlyWhileItIsNews) {
  Start(VoiceOn(), 3);
  Pass(1, 9000, 1, 1);
  RunTo(now + 1000);
  Pass(2, 9500, 2, 1);
  Pass(3, 8700, 1, 3);
  RunTo(now + 10000);
  EXPECT_EQ(speaker.said, (Said{"Lidera el coche uno, nueve coma cero", "Lidera el coche tres, ocho coma siete",
                                "Coche dos, nueve coma cinco"}));

  // Car 1 takes the lead and loses it again while a sentence is read: no news.
  Pass(2, 9100, 2, 3);
  Pass(1, 8800, 1, 1);
  Pass(3, 8600, 1, 3);
  RunTo(now + 10000);
  EXPECT_EQ(SaidFrom(3),
            (Said{"Coche dos, nueve coma uno", "Coche tres, ocho coma seis", "Coche uno, ocho coma ocho"}));

  // In English, and alone on the track nobody "leads".
  const auto english = VoiceOn(false);
  Start(english, 3);
  Pass(2, 9000, 1, 2);
  Start(english, 1);
  speaker.Finish();
  Pass(1, 9000, 1, 1);
  EXPECT_EQ(SaidFrom(6), (Said{"Car two leads, nine point zero", "Car one, nine point zero"}));
}

TEST_F(AnnouncerTest, OneMinuteAndTimeUpOnceEachOnTheWayDown) {
  // A three-minute race ticking every 222 ms.
  Start();
  std::int64_t leftWhenCalled = 0;
  for (std::int64_t left = 180000; left > -5000; left -= 222) {
    announcer.ClockTick(left, now);
    RunTo(now + 222);
    if (speaker.said.size() == 1 && leftWhenCalled == 0) leftWhenCalled = left;
  }
  EXPECT_EQ(speaker.said, (Said{"Un minuto", "Se acabó el tiempo"}));
  EXPECT_GT(leftWhenCalled, 60000 - 222);
  EXPECT_LE(leftWhenCalled, 60000);

  // A one-minute race, and a tick that came twenty seconds late: no call.
  const auto english = VoiceOn(false);
  for (const std::int64_t firstTick : {60000, 65000}) {
    Start(english);
    announcer.ClockTick(firstTick, now);
    RunTo(now + 20000);
    announcer.ClockTick(firstTick - 25000, now);
    RunTo(now + 20000);
  }
  EXPECT_EQ(speaker.said.size(), 2u);

  // A clock that jumps to the end drops a minute call still waiting.
  Start(english);
  speaker.speaking = true;
  announcer.ClockTick(60500, now);
  announcer.ClockTick(59000, now);
  announcer.ClockTick(-10, now);
  speaker.Finish();
  RunTo(now + 1000);
  EXPECT_EQ(SaidFrom(2), (Said{"Time is up"}));
}

TEST_F(AnnouncerTest, FinishOrderInBothLanguagesBeforeTheNextHeat) {
  const auto english = VoiceOn(false);
  Start(english, 3, {{1, "Marta"}, {2, "Luis"}, {3, "Ana"}});
  speaker.speaking = true;
  Pass(2, 9000, 1, 2);  // waiting when the race ends: dropped
  announcer.RaceFinished({2, 3, 1, 7}, now);
  announcer.HeatPrepared({{2, "Pedro"}, {1, "Jo"}}, now);
  speaker.Finish();
  RunTo(now + 30000);
  EXPECT_EQ(speaker.said,
            (Said{"Results. First, Luis. Second, Ana. Third, Marta", "Next heat. Car one, Jo. Car two, Pedro"}));
  EXPECT_EQ(speaker.inSpanish.back(), false);

  // A line-up waits for the race to end; a start drops one not yet said.
  Start(VoiceOn(), 2);
  announcer.HeatPrepared({{1, "Marta"}}, now);
  RunTo(now + 5000);
  EXPECT_EQ(speaker.said.size(), 2u);
  announcer.RaceFinished({2, 1}, now);
  RunTo(now + 20000);
  speaker.speaking = true;
  announcer.HeatPrepared({{3, "Ana"}}, now);
  Start(VoiceOn(), 2);
  speaker.Finish();
  RunTo(now + 20000);
  EXPECT_EQ(SaidFrom(2),
            (Said{"Clasificación. Primero, coche dos. Segundo, coche uno", "Próxima manga. Coche uno, Marta"}));
}

TEST_F(AnnouncerTest, PrioritiesFinishLeaderMinutePasses) {
  Start(VoiceOn(), 3);
  speaker.speaking = true;
  Pass(2, 9000, 2, 0);
  announcer.ClockTick(70000, now);
  announcer.ClockTick(59900, now);
  Pass(3, 8000, 1, 3);
  Pass(1, 7000, 3, 3);
  speaker.Finish();
  RunTo(now + 10000);
  EXPECT_EQ(speaker.said, (Said{"Lidera el coche tres, ocho coma cero", "Un minuto", "Coche dos, nueve coma cero",
                                "Coche uno, siete coma cero"}));

  // Whatever waits when the race ends gives way to the finish order.
  speaker.speaking = true;
  Pass(2, 9000, 1, 2);
  announcer.ClockTick(-1, now);
  announcer.RaceFinished({2, 3, 1}, now);
  speaker.Finish();
  RunTo(now + 20000);
  EXPECT_EQ(SaidFrom(4), (Said{"Clasificación. Primero, coche dos. Segundo, coche tres. Tercero, coche uno"}));
}

TEST_F(AnnouncerTest, WhatAPassSaysAndWhenItIsDropped) {
  auto settings = VoiceOn();
  settings.position = true;
  settings.leader = false;
  Start(settings, 3, {{1, "  Ana\tPérez <Gómez> Llorente de la Vega"}});
  Pass(1, 12400, 2, 0);
  Pass(2, 11000, 3, 0, 0);  // the crossing that starts a car's clock: no lap
  EXPECT_FALSE(announcer.Waiting());
  Pass(3, 13000, 2, 0, 7, true);
  RunTo(now + 10000);
  EXPECT_EQ(speaker.said, (Said{"Ana Pérez Gómez Llor, doce coma cuatro, posición dos",
                                "Coche tres, trece coma cero, posición dos, fin"}));

  // The same car again replaces its waiting pass; one too old is dropped.
  speaker.speaking = true;
  Pass(2, 9900, 2, 0);
  Pass(1, 9700, 3, 0);
  now += race::kPassLifetimeMs + 1;
  Pass(2, 9800, 2, 0);
  speaker.Finish();
  RunTo(now + 10000);
  EXPECT_EQ(SaidFrom(2), (Said{"Coche dos, nueve coma ocho, posición dos"}));

  // A finishing car goes first, then the leader, then the car heard least recently.
  msPerCharacter = 30;
  RunTo(now + 10000);
  speaker.speaking = true;
  Pass(1, 9500, 2, 3);
  Pass(3, 9300, 1, 3);
  Pass(2, 9400, 3, 3, 9, true);
  speaker.Finish();
  RunTo(now + 10000);
  EXPECT_EQ(SaidFrom(3),
            (Said{"Coche dos, nueve coma cuatro, posición tres, fin", "Coche tres, nueve coma tres, posición uno",
                  "Ana Pérez Gómez Llor, nueve coma cinco, posición dos"}));
  EXPECT_FALSE(announcer.Waiting());
}

TEST_F(AnnouncerTest, EachTickAndNoSpeechEngine) {
  auto settings = VoiceOn();
  settings.passes = settings.leader = settings.clock = settings.finish = settings.heats = false;
  Start(settings, 2);
  Pass(1, 9000, 1, 1);
  announcer.ClockTick(61000, now);
  announcer.ClockTick(59000, now);
  announcer.RaceFinished({1, 2}, now);
  announcer.HeatPrepared({{1, "Marta"}}, now);
  RunTo(now + 10000);
  settings.on = false;
  settings.passes = settings.finish = true;
  Start(settings, 2);
  Pass(1, 9000, 1, 1);
  announcer.RaceFinished({1, 2}, now);
  RunTo(now + 10000);
  EXPECT_TRUE(speaker.said.empty());
  EXPECT_FALSE(announcer.Waiting());

  // No speech engine: nothing is taken from the queue.
  settings.on = true;
  speaker.available = false;
  Start(settings, 2);
  Pass(1, 9000, 1, 1);
  EXPECT_TRUE(speaker.said.empty());
  EXPECT_TRUE(announcer.Waiting());
  settings.on = false;
  announcer.Configure(settings);
  EXPECT_FALSE(announcer.Waiting());
}

}  // namespace
