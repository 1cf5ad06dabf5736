#include "race/texts.h"

namespace race {

std::string ParticipantCaption(int car, bool spanish, bool atStartUp) {
  if (atStartUp) return (car < 10 ? "Coche  " : "Coche ") + std::to_string(car);
  return (spanish ? "Coche " : "Car ") + std::to_string(car);
}

}  // namespace race
