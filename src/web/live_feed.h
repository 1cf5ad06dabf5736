#pragma once
// Hands the race to the web server as the race's facts come: a start, a
// pass or an event once its line is on disk, each clock tick, a finish.
// Publishing is a copy handed to the server's thread, so it never holds up
// the next pass.

#include <QObject>
#include <functional>

#include "race/race_listener.h"
#include "race/spoken_texts.h"
#include "records/race_id.h"
#include "web/live_race.h"

namespace race {
class RaceControl;
}

namespace web {

class WebServer;

class LiveFeed final : public QObject, public race::RaceListener {
 public:
  LiveFeed(const race::RaceControl& control, WebServer& server, QObject* parent = nullptr);
  // The same with what "the server listens" and "publish" mean given by the caller.
  LiveFeed(const race::RaceControl& control, std::function<bool()> wanted, std::function<void(LiveRace)> publish,
           QObject* parent = nullptr);

  void RaceStarted(const race::StartFact&) override { Publish(); }
  void PassRecorded(const race::PassFact&) override { Publish(); }
  void EventRecorded(const race::EventFact&) override { Publish(); }
  void CorrectionRecorded(const race::CorrectionFact&) override { Publish(); }
  void ClockTicked(const race::TickFact&) override { Publish(); }
  void RaceFinished(const race::FinishFact&) override { Publish(); }

  // The race as it stands now, to the server; nothing while it is off.
  void Publish();
  // Who drives each car of a race (a meeting heat's line-up): shown beside
  // the car numbers while that race runs. The timing knows no names.
  void SetNamesLookup(std::function<race::DriverNames(const records::RaceId&)> lookup) {
    names_ = std::move(lookup);
  }

 private:
  const race::RaceControl& control_;
  std::function<bool()> wanted_;
  std::function<void(LiveRace)> publish_;
  std::function<race::DriverNames(const records::RaceId&)> names_;
};

}  // namespace web
