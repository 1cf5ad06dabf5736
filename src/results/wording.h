#pragma once
// Every text the exported results say, as a Spanish/English pair: the page,
// the results document, the spreadsheet's sheets, the notes on the records
// and the export's messages. Numbers a person reads take the language's
// decimal mark; the record's own texts are never translated.

#include <string>
#include <string_view>

#include "records/words.h"

namespace results {

enum class Word {
  Race,             // "Carrera 26120601"
  Date,             // "Fecha: "
  Classification,
  NoClassification,
  Laps,
  Lap,
  Car,              // column heading
  CarNumbered,      // "Coche 3"
  NoLapCompleted,
  FirstLapNote,
  Events,
  NoEvents,
  Event,
  Time,
  Type,
  Detail,
  Passes,
  Pass,
  Position,
  TotalTime,
  FastLap,
  OnLap,
  Charts,
  ProblemsIntro,
  Unfinished,
  PageOf,           // "Página %1 de %2"
  MissingFiles,     // "faltan ficheros de la carrera: "
  NoSuchRace,       // "la carrera %1 no está en la carpeta de registros %2"
  Unreadable,       // "%1 no se puede leer"
  CannotWrite,      // "no se pudo escribir %1"
  CannotMakeFolder,
  ExportFailed,     // "no se pudo exportar la carrera %1: "
  Warning,          // "aviso: "
  ReadWhatCould,    // the export holds what could be read
  TornLine,         // "la última línea está cortada y se dejó fuera: «%1»"
  BadLine,          // "línea mal formada, no %1"
  NotWhole,         // "«%1» no es un número entero válido; ..."
  NotDecimal,
};

const char* Say(Word word, bool spanish) noexcept;

using records::Filled;

// Seconds with three decimals and the language's decimal mark: 14,536 in
// Spanish, 14.536 in English.
std::string SecondsForPeople(double seconds, bool spanish);

// A day stem YYMMDD as a date a person reads: "6 de diciembre de 2026",
// "6 December 2026"; the stem itself when it is no date.
std::string DayText(std::string_view stem, bool spanish);

}  // namespace results
