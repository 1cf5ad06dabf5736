#pragma once
// Hands the race to the web server after each change of the screen, from
// the event loop: the change is only noted where the race control reports
// it, and the race is taken once the handler that changed it has finished.
// By then a pass's line is on disk (the race control writes it after it
// reports the change), and several changes in one handler make one push.

#include <QObject>
#include <QTimer>
#include <functional>

#include "web/live_race.h"

namespace race {
class RaceControl;
}

namespace web {

class WebServer;

class LiveFeed final : public QObject {
 public:
  LiveFeed(const race::RaceControl& control, WebServer& server, QObject* parent = nullptr);
  // The same with what "the server listens" and "publish" mean given by the caller.
  LiveFeed(const race::RaceControl& control, std::function<bool()> wanted, std::function<void(LiveRace)> publish,
           QObject* parent = nullptr);

  // To be called from RaceObserver::ScreenChanged(). Does nothing more
  // than arm a zero timer; nothing at all while the server is off.
  void ScreenChanged();

 private:
  void Send();

  const race::RaceControl& control_;
  std::function<bool()> wanted_;
  std::function<void(LiveRace)> publish_;
  QTimer soon_;
};

}  // namespace web
