#pragma once
// The race control's own words, each as a Spanish/English pair.

#include <string>

#include "race/model.h"

namespace race {

struct Words {
  const char* es;
  const char* en;
  const char* Pick(bool spanish) const noexcept { return spanish ? es : en; }
};

namespace words {
inline constexpr Words kStopped{"Parado", "Stopped"};
inline constexpr Words kDisabled{"Desactivado", "Disabled"};
inline constexpr Words kReleased{"Lanzado", "Released"};
inline constexpr Words kRacingAtStart{"En carrera", "Racing"};
inline constexpr Words kRacingAfterFirstPass{"En carrera", "In race"};
inline constexpr Words kTimeUp{"Tiempo", "Time"};
inline constexpr Words kFinished{"Finalizado", "Finished"};

// Race status panel.
inline constexpr Words kRaceIdle{"Parada", "Stopped"};
inline constexpr Words kRaceStarted{"Empezada", "Started"};
inline constexpr Words kRaceTimeUp{"Tiempo", "Time"};
inline constexpr Words kRaceFinished{"Finalizada", "Finished"};

// A start that would have to reuse a number of the day.
inline constexpr const char* kNoRaceNumberLeft =
    "No quedan números de carrera para hoy en esta carpeta (máximo 99).\r"
    "Mueve los ficheros de hoy a otro directorio para seguir.\r"
    "No race numbers left for today in this folder (99 at most).\r"
    "Move today's files to another directory to go on.";
// The events note of a race continued after a reboot whose wall clock
// could not be trusted (a manual event's text).
inline constexpr Words kClockEstimatedNote{"Continuada tras reiniciar el equipo: reloj estimado desde el último paso",
                                           "Continued after a restart: clock estimated from the last pass"};
}  // namespace words

// "Coche  1" ... the participant box captions as set at start-up; after a
// language switch there is a single blank ("Coche 1" / "Car 1").
std::string ParticipantCaption(int car, bool spanish, bool atStartUp);

}  // namespace race
