#include "race/voice.h"

#include <vector>

namespace race {

namespace {

// "3.wav", "3e.wav", "fin.wav", "fine.wav": what a pass plays.
bool IsPassCue(const std::string& file) {
  if (file == "fin.wav" || file == "fine.wav") return true;
  for (int car = 1; car <= kCars; ++car) {
    const std::string number = std::to_string(car);
    if (file == number + ".wav" || file == number + "e.wav") return true;
  }
  return false;
}

}  // namespace

Voice::Voice(platform::Speaker& speaker, std::function<std::int64_t()> nowMs, std::function<bool()> spanish)
    : speaker_(speaker), nowMs_(std::move(nowMs)), spanish_(std::move(spanish)) {}

void Voice::Configure(const VoiceSettings& settings) {
  VoiceSettings s = settings;
  s.spanish = spanish_();
  announcer_.Configure(s);
  if (s.on) speaker_.Available();  // the engine starts before it is needed
}

void Voice::FollowLanguage() {
  const bool spanish = spanish_();
  if (announcer_.Settings().spanish == spanish) return;
  VoiceSettings s = announcer_.Settings();
  s.spanish = spanish;
  announcer_.Configure(s);
}

void Voice::AnnounceHeat(const DriverNames& lineUp) {
  FollowLanguage();
  announcer_.HeatPrepared(lineUp, nowMs_());
  Pump();
}

void Voice::Pump() {
  if (!announcer_.Settings().on) return;
  SpeakNext(announcer_, speaker_, nowMs_());
}

void Voice::RaceStarted(const StartFact& fact) {
  FollowLanguage();
  RaceStart start{fact.setup.Cars(), names_ ? names_(fact.race) : DriverNames{}};
  announcer_.RaceStarted(start, fact.atMs);
  replacesCues_ = announcer_.Settings().ReplacesLapCues() && speaker_.Available();
  Pump();
}

void Voice::PassRecorded(const PassFact& fact) {
  announcer_.PassAccepted({fact.car, fact.lapMs, fact.laps, fact.position, fact.leader, fact.finished}, fact.atMs);
  Pump();
}

void Voice::ClockTicked(const TickFact& fact) {
  if (fact.running) announcer_.ClockTick(fact.remainingMs, fact.atMs);
  Pump();
}

void Voice::RaceFinished(const FinishFact& fact) {
  std::vector<int> order;
  order.reserve(fact.rows.size());
  for (const FinishRow& row : fact.rows) order.push_back(row.car);
  announcer_.RaceFinished(order, fact.atMs);
  replacesCues_ = false;
  Pump();
}

void CuesBesideVoice::PlayCue(const std::string& fileName) {
  if (voice_.ReplacesLapCues() && IsPassCue(fileName)) return;
  device_.PlayCue(fileName);
}

}  // namespace race
