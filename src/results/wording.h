#pragma once
// Every text the exported results say, as a Spanish/English pair: the page,
// the results document, the spreadsheet's sheets, the notes on the records
// and the export's messages. Numbers a person reads take the language's
// decimal mark; the record's own texts are never translated.

#include <string>
#include <string_view>

#include "records/words.h"

namespace results {

using records::Words;

namespace words {
inline constexpr Words kRace{"Carrera %1", "Race %1"};
inline constexpr Words kDate{"Fecha: ", "Date: "};
inline constexpr Words kClassification{"Clasificación", "Classification"};
inline constexpr Words kNoClassification{"Sin clasificación", "No classification"};
inline constexpr Words kLaps{"Vueltas", "Laps"};
inline constexpr Words kLap{"Vuelta", "Lap"};
inline constexpr Words kCar{"Coche", "Car"};
inline constexpr Words kDriver{"Piloto", "Driver"};
inline constexpr Words kCarNumbered{"Coche %1", "Car %1"};
inline constexpr Words kNoLapCompleted{"Ningún coche completó una vuelta.", "No car completed a lap."};
inline constexpr Words kFirstLapNote{"* Primera vuelta, desde la salida hasta la línea.",
                                     "* First lap, from the start to the line."};
inline constexpr Words kEvents{"Incidencias", "Events"};
inline constexpr Words kNoEvents{"Ninguna incidencia.", "No events."};
inline constexpr Words kEvent{"Inc.", "Event"};
inline constexpr Words kTime{"Tiempo", "Time"};
inline constexpr Words kType{"Tipo", "Type"};
inline constexpr Words kDetail{"Detalle", "Detail"};
inline constexpr Words kPasses{"Pasos", "Passes"};
inline constexpr Words kPass{"Paso", "Pass"};
inline constexpr Words kPosition{"Pto.", "Pos."};
inline constexpr Words kTotalTime{"T. total", "Total t."};
inline constexpr Words kFastLap{"V. ráp.", "Fast lap"};
inline constexpr Words kOnLap{"En la vuelta", "On lap"};
inline constexpr Words kCharts{"Gráficos", "Charts"};
inline constexpr Words kProblemsIntro{
    "Los ficheros de esta carrera tienen líneas que no se pudieron leer; se muestra lo leído:",
    "The files of this race hold lines that could not be read; this is what was read:"};
inline constexpr Words kUnfinished{
    "Carrera sin terminar: sus ficheros no tienen línea final ni clasificación; se muestra lo registrado.",
    "Unfinished race: its files hold no finish line and no classification; this is what was recorded."};
inline constexpr Words kPageOf{"Página %1 de %2", "Page %1 of %2"};
inline constexpr Words kMissingFiles{"faltan ficheros de la carrera: %1", "the race's files are missing: %1"};
inline constexpr Words kNoSuchRace{"la carrera %1 no está en la carpeta de registros %2",
                                   "race %1 is not in the record folder %2"};
inline constexpr Words kUnreadable{"%1 no se puede leer", "%1 cannot be read"};
inline constexpr Words kCannotWrite{"no se pudo escribir %1: %2", "cannot write %1: %2"};
inline constexpr Words kCannotMakeFolder{"no se pudo crear la carpeta %1: %2", "cannot make the folder %1: %2"};
inline constexpr Words kExportFailed{"no se pudo exportar la carrera %1: ", "export of %1 failed: "};
inline constexpr Words kWarning{"aviso: ", "warning: "};
inline constexpr Words kReadWhatCould{"se exportó lo que se pudo leer de la carrera %1",
                                      "the export holds what could be read of race %1"};
inline constexpr Words kTornLine{"la última línea está cortada y se dejó fuera: «%1»",
                                 "the last line is cut short and was left out: '%1'"};
inline constexpr Words kBadLine{"línea mal formada, no %1", "malformed line, not %1"};
inline constexpr Words kNotWhole{"«%1» no es un número entero válido; solo se leyeron las líneas anteriores",
                                 "'%1' is not a valid whole number; only the lines before it were read"};
inline constexpr Words kNotDecimal{"«%1» no es un número decimal válido; solo se leyeron las líneas anteriores",
                                   "'%1' is not a valid decimal number; only the lines before it were read"};
// Corrections refused, in the director's words.
inline constexpr Words kRefusedNotRacing{"Ese coche no corrió esta carrera.", "That car did not run in this race."};
inline constexpr Words kRefusedNoSuchPass{"Ese coche no tiene ese paso.", "That car has no such pass."};
inline constexpr Words kRefusedClockStart{"Ese paso solo puso en marcha el crono del coche; no es una vuelta.",
                                          "That pass only started the car's clock; it is no lap."};
inline constexpr Words kRefusedSplitOutside{"El tiempo dado no cae dentro de esa vuelta.",
                                            "The time given is not inside that lap."};
inline constexpr Words kRefusedShorterThanMinimum{"Rechazado: quedaría una vuelta más corta que la vuelta mínima.",
                                                  "Refused: a lap would be shorter than the minimum lap."};
inline constexpr Words kRefusedNegativeLaps{"Rechazado: el coche quedaría con vueltas negativas.",
                                            "Refused: the car would have a negative lap count."};
inline constexpr Words kRefusedAlreadyDisqualified{"El coche ya está descalificado.", "The car is already disqualified."};
inline constexpr Words kRefusedNoSuchCorrection{"No hay tal corrección que deshacer.", "There is no such correction to undo."};

}  // namespace words

using records::Filled;

// A duration as the record files write one: 01'27"310, 1h 03'07"042.
std::string DurationText(long long ms);

// Seconds with three decimals and the language's decimal mark: 14,536 in
// Spanish, 14.536 in English.
std::string SecondsForPeople(double seconds, bool spanish);

// A day stem YYMMDD as a date a person reads: "6 de diciembre de 2026",
// "6 December 2026"; the stem itself when it is no date.
std::string DayText(std::string_view stem, bool spanish);

}  // namespace results
