#include "race/texts.h"

namespace race {

std::string EventMessageOf(const Words& words, int event, int car, bool spanish) {
  return records::Filled(words.Pick(spanish), std::to_string(event), std::to_string(car));
}

std::string ParticipantCaption(int car, bool spanish, bool atStartUp) {
  if (atStartUp) return (car < 10 ? "Coche  " : "Coche ") + std::to_string(car);
  return words::kCar.Pick(spanish) + std::to_string(car);
}

std::string KeyReplacedDetail(int car, const std::string& gateTime, bool spanish) {
  return words::kKey.Pick(spanish) + std::to_string(car) + words::kReplacedByGate.Pick(spanish) + gateTime + ")";
}

std::string GateNoteMessage(int event, int car, const Words& what, bool spanish) {
  return std::to_string(event) + " F" + std::to_string(car) + ": " + what.Pick(spanish);
}

}  // namespace race
