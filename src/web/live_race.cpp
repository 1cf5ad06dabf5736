#include "web/live_race.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "race/race_control.h"

namespace web {

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

LiveRace LiveRaceFrom(const race::RaceControl& control) {
  const race::RaceScreen& screen = control.Screen();
  const race::TRaceState& state = control.State();
  const race::TCoches& cars = control.Cars();
  LiveRace live;
  live.spanish = control.spanish();
  live.running = state.Running;
  // During a race the next base is the running race's own.
  if (live.running) live.race = control.NextRaceBase();
  live.description = control.Setup().Description(live.spanish);
  live.clock = screen.raceClock;
  live.length = screen.raceLength;
  live.status = screen.raceStatus;
  live.passes = state.PassCount;
  live.lastCar = state.LastCar;
  // Between races the page shows the last classification from the records.
  if (!live.running) return live;
  live.cars.reserve(race::kCars);
  for (int i = 1; i <= race::kCars; ++i) {
    const int n = state.Standings[i];
    if (n < 1 || n > race::kCars || !cars[n].Participates) continue;
    const race::CarRow& row = screen.cars[n];
    live.cars.push_back({i, n, cars[n].Laps, row.lastLap, row.fastestLap, row.state, n == state.LastCar, {}});
  }
  return live;
}

QByteArray LiveRaceJson(const LiveRace& live, const QByteArray& lastRaceJson, const QByteArray& meetingJson) {
  QJsonArray cars;
  for (const LiveCar& c : live.cars) {
    cars.append(QJsonObject{{QStringLiteral("position"), c.position},
                            {QStringLiteral("car"), c.car},
                            {QStringLiteral("laps"), c.laps},
                            {QStringLiteral("lastLap"), Text(c.lastLap)},
                            {QStringLiteral("fastestLap"), Text(c.fastestLap)},
                            {QStringLiteral("state"), Text(c.state)},
                            {QStringLiteral("last"), c.last},
                            {QStringLiteral("driver"), c.driver.empty() ? QJsonValue() : Text(c.driver)}});
  }
  const QJsonObject object{{QStringLiteral("language"), live.spanish ? QStringLiteral("es") : QStringLiteral("en")},
                           {QStringLiteral("running"), live.running},
                           {QStringLiteral("race"), live.race.empty() ? QJsonValue() : Text(live.race)},
                           {QStringLiteral("description"), Text(live.description)},
                           {QStringLiteral("clock"), Text(live.clock)},
                           {QStringLiteral("length"), Text(live.length)},
                           {QStringLiteral("status"), Text(live.status)},
                           {QStringLiteral("passes"), live.passes},
                           {QStringLiteral("lastCar"), live.lastCar},
                           {QStringLiteral("cars"), cars}};
  QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
  // The last race's classification and the board go in as they were made, without parsing them again.
  json.chop(1);
  json += ",\"last\":";
  json += lastRaceJson.isEmpty() ? QByteArrayLiteral("null") : lastRaceJson;
  json += ",\"meeting\":";
  json += meetingJson.isEmpty() ? QByteArrayLiteral("null") : meetingJson;
  json += '}';
  return json;
}

}  // namespace web
