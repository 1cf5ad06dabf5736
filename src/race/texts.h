#pragma once
// The race control's own words, each as a Spanish/English pair.

#include <string>

#include "race/model.h"
#include "records/words.h"

namespace race {

using records::Words;

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

// The message panel: %1 the event's number, %2 the car.
inline constexpr Words kNotRacing{"%1 No corre F%2", "%1 F%2 doesn't race"};
inline constexpr Words kTooShort{"%1 Error F%2", "%1 Error F%2"};
inline constexpr Words kManual{"%1 manual", "%1 manual"};

// Participant boxes: "Coche  1" at start-up, "Coche 1" / "Car 1" after a switch.
inline constexpr Words kCar{"Coche ", "Car "};

// A start that would have to reuse a number of the day.
inline constexpr const char* kNoRaceNumberLeft =
    "No quedan números de carrera para hoy en esta carpeta (máximo 99).\r"
    "Mueve los ficheros de hoy a otro directorio para seguir.\r"
    "No race numbers left for today in this folder (99 at most).\r"
    "Move today's files to another directory to go on.";
// The events note of a race continued after a reboot whose wall clock
// could not be trusted.
inline constexpr Words kClockEstimatedNote{"Continuada tras reiniciar el equipo: reloj estimado desde el último paso",
                                           "Continued after a restart: clock estimated from the last pass"};

// Keys and the track gate: the detail and the message of a key press that a
// gate crossing replaced, and of a gate pass timed with less accuracy.
inline constexpr Words kKey{"Tecla F", "Key F"};
inline constexpr Words kReplacedByGate{" sustituida por el sensor (", " replaced by the gate ("};
inline constexpr Words kGate{"sensor", "gate"};
inline constexpr Words kApproximateDetail{"Paso del sensor con menos precisión", "Gate pass timed with less accuracy"};
inline constexpr Words kApproximate{"aprox.", "approx."};
// A missed crossing added during the race, and its refusals.
inline constexpr Words kLapAdded{"%1 +1 vuelta C%2", "%1 +1 lap C%2"};
inline constexpr Words kNoLapToSplit{"C%2: sin vuelta que partir", "C%2: no lap to split"};
inline constexpr Words kHalvesTooShort{"C%2: vuelta mínima", "C%2: minimum lap"};
inline constexpr Words kMissedCrossingReason{"Paso no marcado", "Missed crossing"};
}  // namespace words

// "7 No corre F11": a message of event `event` about car `car`.
std::string EventMessageOf(const Words& words, int event, int car, bool spanish);

// "Tecla F3 sustituida por el sensor (40,000)": the gate's time in brackets.
std::string KeyReplacedDetail(int car, const std::string& gateTime, bool spanish);
// The message panel after a note of car n: "8 F3: sensor", "8 F3: aprox.".
std::string GateNoteMessage(int event, int car, const Words& what, bool spanish);

// "Coche  1" ... the participant box captions as set at start-up; after a
// language switch there is a single blank ("Coche 1" / "Car 1").
std::string ParticipantCaption(int car, bool spanish, bool atStartUp);

}  // namespace race
