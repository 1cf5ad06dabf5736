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
  if (!wanted_()) return;
  LiveRace live = LiveRaceFrom(control_);
  const auto id = live.running && names_ ? records::RaceId::Parse(live.race) : std::nullopt;
  if (id) {
    const race::DriverNames names = names_(*id);
    for (LiveCar& car : live.cars) {
      if (const auto name = names.find(car.car); name != names.end()) car.driver = name->second;
    }
  }
  publish_(std::move(live));
}

}  // namespace web
