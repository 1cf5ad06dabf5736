#include "meeting/store.h"

#include <algorithm>

#include "records/words.h"

namespace meeting {

std::map<int, std::string> DriverNamesOfRace(MeetingStore& store, const std::string& raceId) {
  const auto link = store.HeatOfRace(raceId);
  if (!link || !*link) return {};
  const auto heats = store.Heats((*link)->meeting);
  const auto drivers = store.Drivers();
  if (!heats || !drivers) return {};
  std::map<int, std::string> names;
  for (const StoredHeat& stored : *heats) {
    if (stored.heat.slot.number != (*link)->heat) continue;
    for (const Seat& seat : stored.heat.seats) {
      const auto driver =
          std::find_if(drivers->begin(), drivers->end(), [&seat](const Driver& d) { return d.id == seat.driver; });
      if (driver != drivers->end()) names[seat.car] = driver->name;
    }
  }
  return names;
}

std::string StoreProblemText(const StoreStatus& status, bool spanish) {
  static constexpr records::Words kWords[] = {
      {"", ""},
      {"La base de datos de reuniones está ocupada por otro programa; inténtelo de nuevo.",
       "The meetings database is busy in another program; try again."},
      {"La base de datos de reuniones no se puede escribir.", "The meetings database cannot be written."},
      {"La base de datos de reuniones está dañada o no es de TRELVIX.",
       "The meetings database is damaged or not TRELVIX's."},
      {"La base de datos de reuniones es de una versión posterior del programa.",
       "The meetings database is from a later version of the program."},
      {"Cambio rechazado.", "Change refused."},
      {"La base de datos de reuniones ha fallado.", "The meetings database failed."},
      {"Aún no hay base de datos de reuniones.", "There is no meetings database yet."},
  };
  std::string text = kWords[static_cast<int>(status.problem)].Pick(spanish);
  if (!status.detail.empty()) text += " (" + status.detail + ")";
  if (status.problem != StoreProblem::None) {
    text += spanish ? " Las carreras y sus ficheros no se ven afectados."
                    : " Races and their record files are not affected.";
  }
  return text;
}

}  // namespace meeting
