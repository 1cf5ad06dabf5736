#include "race/announcer.h"

#include <algorithm>
#include <utility>

namespace race {

namespace {

// The valid cars of a list, each once, at most kCars of them.
std::vector<int> ValidCars(const std::vector<int>& cars) {
  std::vector<int> valid;
  for (const int car : cars) {
    if (IsCar(car) && std::find(valid.begin(), valid.end(), car) == valid.end()) valid.push_back(car);
  }
  return valid;
}

DriverNames SpeakableNames(const DriverNames& names) {
  DriverNames out;
  for (const auto& [car, name] : names) {
    if (IsCar(car)) out[car] = SpeakableName(name);
  }
  return out;
}

}  // namespace

void Announcer::Configure(const VoiceSettings& settings) {
  settings_ = settings;
  if (!settings_.on) Forget();
  if (!settings_.passes) passes_.fill({});
  if (!settings_.leader) leaderNews_ = {};
  if (!settings_.clock) oneMinute_ = timeUp_ = {};
  if (!settings_.finish) finishOrder_.reset();
  if (!settings_.heats) lineUp_.reset();
}

void Announcer::ForgetRace() noexcept {
  passes_.fill({});
  leaderNews_ = oneMinute_ = timeUp_ = {};
}

void Announcer::Forget() noexcept {
  ForgetRace();
  finishOrder_.reset();
  lineUp_.reset();
}

void Announcer::RaceStarted(const RaceStart& start, std::int64_t /*nowMs*/) {
  Forget();
  running_ = true;
  racing_.fill(false);
  for (const int car : ValidCars(start.cars)) racing_.at(static_cast<std::size_t>(car)) = true;
  names_ = SpeakableNames(start.names);
  leader_ = spokenLeader_ = 0;
  sawOverAMinute_ = sawTimeLeft_ = minuteCalled_ = timeUpCalled_ = false;
  heardAtMs_.fill(std::nullopt);
}

void Announcer::PassAccepted(const PassNews& pass, std::int64_t nowMs) {
  if (!running_ || !IsCar(pass.car) || !racing_.at(static_cast<std::size_t>(pass.car))) return;
  const int leader = IsCar(pass.leader) ? pass.leader : (pass.position == 1 ? pass.car : 0);
  if (leader != 0 && leader != leader_) {
    leader_ = leader;
    // Leading alone is no news.
    const bool rivals = std::count(racing_.begin(), racing_.end(), true) > 1;
    if (settings_.on && settings_.leader && rivals) leaderNews_ = Pending{true, nowMs};
  }
  // The crossing that starts a car's own clock completes no lap.
  if (!settings_.on || !settings_.passes || pass.laps < 1 || pass.lapMs <= 0) return;
  // A newer pass of the car replaces the one still waiting.
  passes_.at(static_cast<std::size_t>(pass.car)) =
      WaitingPass{true, nowMs, pass.lapMs, pass.position, pass.finished, ++passOrder_};
  KeepBestPasses();
}

void Announcer::ClockTick(std::int64_t remainingMs, std::int64_t nowMs) {
  if (!running_) return;
  // Each call is made once, on the way down: a race of one minute, or a
  // race resumed inside its last minute, has no one-minute call.
  if (remainingMs > kOneMinuteMs) sawOverAMinute_ = true;
  if (remainingMs > 0) sawTimeLeft_ = true;
  const bool speak = settings_.on && settings_.clock;
  if (sawOverAMinute_ && !minuteCalled_ && remainingMs <= kOneMinuteMs && remainingMs > 0) {
    minuteCalled_ = true;
    // Timed from when the minute was left, so a late tick ages it rightly.
    if (speak) oneMinute_ = Pending{true, nowMs - (kOneMinuteMs - remainingMs)};
  }
  if (sawTimeLeft_ && !timeUpCalled_ && remainingMs <= 0) {
    timeUpCalled_ = true;
    oneMinute_ = {};
    if (speak) timeUp_ = Pending{true, nowMs + remainingMs};
  }
}

void Announcer::RaceFinished(const std::vector<int>& order, std::int64_t nowMs) {
  if (!running_) return;
  running_ = false;
  // The finish order says all there is left to say of the race.
  ForgetRace();
  if (!settings_.on || !settings_.finish) return;
  std::vector<int> racing;
  for (const int car : ValidCars(order)) {
    if (racing_.at(static_cast<std::size_t>(car))) racing.push_back(car);
  }
  if (racing.empty()) return;
  finishOrder_ = std::move(racing);
  finishAtMs_ = nowMs;
}

void Announcer::HeatPrepared(const DriverNames& lineUp, std::int64_t nowMs) {
  if (!settings_.on || !settings_.heats) return;
  DriverNames names = SpeakableNames(lineUp);
  if (names.empty()) return;
  // A newer line-up replaces one not yet said.
  lineUp_ = std::move(names);
  lineUpAtMs_ = nowMs;
}

bool Announcer::Waiting() const noexcept {
  const bool pass = std::any_of(passes_.begin(), passes_.end(), [](const WaitingPass& p) { return p.set; });
  return pass || finishOrder_ || lineUp_ || leaderNews_.set || oneMinute_.set || timeUp_.set;
}

Utterance Announcer::Make(Utterance::Kind kind, std::string text, std::int64_t factMs) const {
  return Utterance{kind, std::move(text), settings_.spanish, factMs};
}

std::optional<Utterance> Announcer::Next(std::int64_t nowMs) {
  if (!settings_.on) return std::nullopt;
  const bool es = settings_.spanish;
  if (finishOrder_) {
    Utterance said = Make(Utterance::Kind::kFinish, FinishSentence(*finishOrder_, names_, es), finishAtMs_);
    finishOrder_.reset();
    return said;
  }
  // A line-up is for between races.
  if (lineUp_ && !running_) {
    Utterance said = Make(Utterance::Kind::kLineUp, LineUpSentence(*lineUp_, es), lineUpAtMs_);
    lineUp_.reset();
    return said;
  }
  const Pending leader = std::exchange(leaderNews_, Pending{});
  // Back to the leader last announced before the change was said: no news.
  if (leader.set && nowMs - leader.atMs <= kLeaderLifetimeMs && leader_ != spokenLeader_) {
    spokenLeader_ = leader_;
    // The new leader's waiting pass is told in the same breath.
    WaitingPass& pass = passes_.at(static_cast<std::size_t>(leader_));
    std::int64_t lapMs = 0;
    if (pass.set && !pass.finished && nowMs - pass.atMs <= kPassLifetimeMs) {
      lapMs = pass.lapMs;
      pass.set = false;
      heardAtMs_.at(static_cast<std::size_t>(leader_)) = nowMs;
    }
    return Make(Utterance::Kind::kLeader, LeaderSentence(leader_, names_, lapMs, es), leader.atMs);
  }
  const Pending minute = std::exchange(oneMinute_, Pending{});
  if (minute.set && nowMs - minute.atMs <= kClockLifetimeMs) {
    return Make(Utterance::Kind::kClock, OneMinuteSentence(es), minute.atMs);
  }
  const Pending timeUp = std::exchange(timeUp_, Pending{});
  if (timeUp.set && nowMs - timeUp.atMs <= kClockLifetimeMs) {
    return Make(Utterance::Kind::kClock, TimeUpSentence(es), timeUp.atMs);
  }
  return NextPass(nowMs);
}

bool Announcer::SaidBefore(int a, int b) const noexcept {
  const WaitingPass& pa = passes_.at(static_cast<std::size_t>(a));
  const WaitingPass& pb = passes_.at(static_cast<std::size_t>(b));
  if (pa.finished != pb.finished) return pa.finished;
  if ((a == leader_) != (b == leader_)) return a == leader_;
  const auto& ha = heardAtMs_.at(static_cast<std::size_t>(a));
  const auto& hb = heardAtMs_.at(static_cast<std::size_t>(b));
  if (ha != hb) return !ha || (hb && *ha < *hb);
  return pa.order < pb.order;
}

void Announcer::KeepBestPasses() {
  for (;;) {
    int waiting = 0;
    int worst = 0;
    for (int car = 1; car <= kCars; ++car) {
      if (!passes_.at(static_cast<std::size_t>(car)).set) continue;
      ++waiting;
      if (worst == 0 || SaidBefore(worst, car)) worst = car;
    }
    if (waiting <= kMaxWaitingPasses) return;
    passes_.at(static_cast<std::size_t>(worst)).set = false;
  }
}

std::optional<Utterance> Announcer::NextPass(std::int64_t nowMs) {
  int best = 0;
  for (int car = 1; car <= kCars; ++car) {
    WaitingPass& pass = passes_.at(static_cast<std::size_t>(car));
    if (pass.set && nowMs - pass.atMs > kPassLifetimeMs) pass.set = false;
    if (pass.set && (best == 0 || SaidBefore(car, best))) best = car;
  }
  if (best == 0) return std::nullopt;
  WaitingPass& pass = passes_.at(static_cast<std::size_t>(best));
  pass.set = false;
  heardAtMs_.at(static_cast<std::size_t>(best)) = nowMs;
  const int position = settings_.position ? pass.position : 0;
  return Make(Utterance::Kind::kPass,
              PassSentence(best, names_, pass.lapMs, position, pass.finished, settings_.spanish), pass.atMs);
}

bool SpeakNext(Announcer& announcer, platform::Speaker& speaker, std::int64_t nowMs) {
  if (!speaker.Available() || !speaker.Ready()) return false;
  std::optional<Utterance> next = announcer.Next(nowMs);
  if (!next) return false;
  speaker.Say(next->text, next->spanish);
  return true;
}

}  // namespace race
