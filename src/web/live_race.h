#pragma once
// The current race as the results page shows it: a copy of what the race
// control decided, taken on the race's thread and handed to the server.

#include <QByteArray>
#include <string>
#include <vector>

namespace race {
class RaceControl;
}

namespace web {

// One participant's line, in the running order.
struct LiveCar {
  int position = 0;
  int car = 0;
  int laps = 0;
  std::string lastLap;     // as the car table shows it: "13,402"
  std::string fastestLap;  // "0" until the car has a fastest lap
  std::string state;       // in the program's language: "En carrera"
  bool last = false;       // the car that crossed the line last
  std::string driver;      // in a meeting heat, the driver in the car; else empty
};

struct LiveRace {
  bool spanish = true;
  bool running = false;
  std::string race;  // YYMMDDnn of the race running; empty between races
  std::string description;
  std::string clock;   // "03'12\"", or the time of day between races
  std::string length;  // "5'"
  std::string status;  // "Empezada", "Tiempo", "Finalizada", "Parada"
  int passes = 0;
  int lastCar = 0;
  std::vector<LiveCar> cars;  // empty between races
};

// Copies what the race control shows now. Cheap: a few dozen short strings.
LiveRace LiveRaceFrom(const race::RaceControl& control);

// The JSON object of GET /api/race, with the last race's classification
// (an object of RaceJson, or empty for null) as its "last" member and the
// meeting's board between heats (an object of BoardJson, or empty for null)
// as its "meeting" member.
QByteArray LiveRaceJson(const LiveRace& live, const QByteArray& lastRaceJson, const QByteArray& meetingJson = {});

}  // namespace web
