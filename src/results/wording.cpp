#include "results/wording.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace results {

namespace {

struct Pair {
  Word word;
  const char* es;
  const char* en;
};

constexpr std::array kWords = {
    Pair{Word::Race, "Carrera %1", "Race %1"},
    Pair{Word::Date, "Fecha: ", "Date: "},
    Pair{Word::Classification, "Clasificación", "Classification"},
    Pair{Word::NoClassification, "Sin clasificación", "No classification"},
    Pair{Word::Laps, "Vueltas", "Laps"},
    Pair{Word::Lap, "Vuelta", "Lap"},
    Pair{Word::Car, "Coche", "Car"},
    Pair{Word::CarNumbered, "Coche %1", "Car %1"},
    Pair{Word::NoLapCompleted, "Ningún coche completó una vuelta.", "No car completed a lap."},
    Pair{Word::FirstLapNote, "* Primera vuelta, desde la salida hasta la línea.",
         "* First lap, from the start to the line."},
    Pair{Word::Events, "Incidencias", "Events"},
    Pair{Word::NoEvents, "Ninguna incidencia.", "No events."},
    Pair{Word::Event, "Inc.", "Event"},
    Pair{Word::Time, "Tiempo", "Time"},
    Pair{Word::Type, "Tipo", "Type"},
    Pair{Word::Detail, "Detalle", "Detail"},
    Pair{Word::Passes, "Pasos", "Passes"},
    Pair{Word::Pass, "Paso", "Pass"},
    Pair{Word::Position, "Pto.", "Pos."},
    Pair{Word::TotalTime, "T. total", "Total t."},
    Pair{Word::FastLap, "V. ráp.", "Fast lap"},
    Pair{Word::OnLap, "En la vuelta", "On lap"},
    Pair{Word::Charts, "Gráficos", "Charts"},
    Pair{Word::ProblemsIntro, "Los ficheros de esta carrera tienen líneas que no se pudieron leer; se muestra lo leído:",
         "The files of this race hold lines that could not be read; this is what was read:"},
    Pair{Word::Unfinished,
         "Carrera sin terminar: sus ficheros no tienen línea final ni clasificación; se muestra lo registrado.",
         "Unfinished race: its files hold no finish line and no classification; this is what was recorded."},
    Pair{Word::PageOf, "Página %1 de %2", "Page %1 of %2"},
    Pair{Word::MissingFiles, "faltan ficheros de la carrera: %1", "the race's files are missing: %1"},
    Pair{Word::NoSuchRace, "la carrera %1 no está en la carpeta de registros %2",
         "race %1 is not in the record folder %2"},
    Pair{Word::Unreadable, "%1 no se puede leer", "%1 cannot be read"},
    Pair{Word::CannotWrite, "no se pudo escribir %1: %2", "cannot write %1: %2"},
    Pair{Word::CannotMakeFolder, "no se pudo crear la carpeta %1: %2", "cannot make the folder %1: %2"},
    Pair{Word::ExportFailed, "no se pudo exportar la carrera %1: ", "export of %1 failed: "},
    Pair{Word::Warning, "aviso: ", "warning: "},
    Pair{Word::ReadWhatCould, "se exportó lo que se pudo leer de la carrera %1",
         "the export holds what could be read of race %1"},
    Pair{Word::TornLine, "la última línea está cortada y se dejó fuera: «%1»",
         "the last line is cut short and was left out: '%1'"},
    Pair{Word::BadLine, "línea mal formada, no %1", "malformed line, not %1"},
    Pair{Word::NotWhole, "«%1» no es un número entero válido; solo se leyeron las líneas anteriores",
         "'%1' is not a valid whole number; only the lines before it were read"},
    Pair{Word::NotDecimal, "«%1» no es un número decimal válido; solo se leyeron las líneas anteriores",
         "'%1' is not a valid decimal number; only the lines before it were read"},
};

constexpr std::array<std::array<const char*, 12>, 2> kMonths = {{
    {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre", "octubre",
     "noviembre", "diciembre"},
    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
     "November", "December"},
}};

bool Digits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Number(std::string_view two) { return (two[0] - '0') * 10 + (two[1] - '0'); }

}  // namespace

const char* Say(Word word, bool spanish) noexcept {
  for (const Pair& pair : kWords) {
    if (pair.word == word) return spanish ? pair.es : pair.en;
  }
  return "";
}


std::string SecondsForPeople(double seconds, bool spanish) {
  if (!std::isfinite(seconds)) return {};
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.3f", seconds);
  std::string text = buffer;
  // printf's mark follows the C locale, which is always the point.
  if (spanish) {
    for (char& c : text) {
      if (c == '.') c = ',';
    }
  }
  return text;
}

std::string DayText(std::string_view stem, bool spanish) {
  if (stem.size() != 6 || !Digits(stem)) return std::string(stem);
  const int month = Number(stem.substr(2, 2));
  const int day = Number(stem.substr(4, 2));
  if (month < 1 || month > 12 || day < 1 || day > 31) return std::string(stem);
  const std::string year = "20" + std::string(stem.substr(0, 2));
  const std::string monthName = kMonths[spanish ? 0 : 1][static_cast<std::size_t>(month - 1)];
  const std::string dayText = std::to_string(day);
  return spanish ? dayText + " de " + monthName + " de " + year : dayText + " " + monthName + " " + year;
}

}  // namespace results
