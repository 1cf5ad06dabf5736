#include "web/live_feed.h"

#include "web/web_server.h"

namespace web {

LiveFeed::LiveFeed(const race::RaceControl& control, WebServer& server, QObject* parent)
    : LiveFeed(
          control, [&server] { return server.listening(); },
          [&server](LiveRace race) { server.Publish(std::move(race)); }, parent) {
  // A server started between races shows the race as it stands at once.
  connect(&server, &WebServer::StateChanged, this, &LiveFeed::Publish);
}

LiveFeed::LiveFeed(const race::RaceControl& control, std::function<bool()> wanted,
                   std::function<void(LiveRace)> publish, QObject* parent)
    : QObject(parent), control_(control), wanted_(std::move(wanted)), publish_(std::move(publish)) {}

void LiveFeed::Publish() {
  if (wanted_()) publish_(LiveRaceFrom(control_));
}

}  // namespace web
