#include "meeting/texts.h"

#include "meeting/qualifying.h"

namespace meeting {

const Words& WordsOf(DriverProblem problem) noexcept {
  static constexpr Words kWords[] = {
      {"falta el nombre", "no name"},
      {"nombre de más de 60 caracteres", "name over 60 characters"},
      {"abreviatura de más de 12 caracteres", "short name over 12 characters"},
      {"clase de más de 40 caracteres", "class over 40 characters"},
      {"número no válido (1 a 9999)", "bad number (1 to 9999)"},
      {"carácter de control", "control character"},
      {"ya hay un piloto con ese nombre", "a driver has that name already"},
      {"ese número ya es de otro piloto de la clase", "another driver of the class has that number"},
  };
  return kWords[static_cast<int>(problem)];
}

const Words& WordsOf(RowProblem problem) noexcept {
  static constexpr Words kWords[] = {
      {"comillas mal cerradas", "unbalanced quotes"},
      {"más campos que columnas", "more fields than columns"},
      {"campo demasiado largo", "field too long"},
      {"falta el nombre", "no name"},
      {"nombre de más de 60 caracteres", "name over 60 characters"},
      {"abreviatura de más de 12 caracteres", "short name over 12 characters"},
      {"clase de más de 40 caracteres", "class over 40 characters"},
      {"número no válido (1 a 9999)", "bad number (1 to 9999)"},
      {"activo no es sí ni no", "active is neither yes nor no"},
      {"carácter de control", "control character"},
      {"nombre repetido", "name repeated"},
      {"número ya usado en la clase", "number already used in the class"},
  };
  return kWords[static_cast<int>(problem)];
}

const Words& WordsOf(ImportFailure failure) noexcept {
  static constexpr Words kWords[] = {
      {"", ""},
      {"el fichero pasa de 1 MiB", "the file is over 1 MiB"},
      {"el fichero pasa de 5000 filas", "the file has over 5000 rows"},
      {"ninguna columna se llama nombre o name", "no column is called nombre or name"},
      {"dos columnas con el mismo significado", "two columns mean the same"},
  };
  return kWords[static_cast<int>(failure)];
}

const Words& WordsOf(MeetingProblem problem) noexcept {
  static constexpr Words kWords[] = {
      {"falta el nombre de la reunión", "the meeting has no name"},
      {"nombre de la reunión de más de 60 caracteres", "meeting name over 60 characters"},
      {"hacen falta al menos 2 pilotos", "at least 2 drivers are needed"},
      {"más de 500 pilotos", "over 500 drivers"},
      {"un piloto inscrito dos veces", "a driver entered twice"},
      {"carriles: de 2 a 12", "lanes: 2 to 12"},
      {"minutos: de 1 a 180", "minutes: 1 to 180"},
      {"rondas: de 1 a 5", "rounds: 1 to 5"},
      {"coches por grupo: de 2 a 12", "cars per group: 2 to 12"},
      {"coches por final: de 2 a los del grupo", "cars per final: 2 to those of a group"},
      {"suben: de 0 a 4, menos que los de una final", "bumped up: 0 to 4, fewer than a final's cars"},
      {"tabla de puntos: hasta 40 puestos de 0 a 1000", "points table: up to 40 places of 0 to 1000"},
  };
  return kWords[static_cast<int>(problem)];
}

const Words& WordsOf(ResultProblem problem) noexcept {
  static constexpr Words kWords[] = {
      {"carrera no válida (AAMMDDnn)", "bad race id (YYMMDDnn)"},
      {"coche fuera de 1 a 12 o repetido", "car outside 1 to 12 or repeated"},
      {"vueltas o tiempos negativos", "negative laps or times"},
  };
  return kWords[static_cast<int>(problem)];
}

const Words& WordsOf(CarStatus status) noexcept {
  static constexpr Words kWords[] = {{"", ""}, {"No salió", "DNS"}, {"DSQ", "DSQ"}};
  return kWords[static_cast<int>(status)];
}

std::string RefusalText(const RefusedRow& refused, bool spanish) {
  std::string text = std::string(words::kRow.Pick(spanish)) + ' ' + std::to_string(refused.row) + ": " +
                     WordsOf(refused.problem).Pick(spanish);
  if (refused.otherRow > 0) {
    text += std::string(" (") + words::kAsRow.Pick(spanish) + ' ' + std::to_string(refused.otherRow) + ')';
  } else if (!refused.otherName.empty()) {
    text += " (" + refused.otherName + ')';
  }
  return text;
}

std::string HeatTitle(const HeatSlot& slot, int heatCount, bool spanish) {
  std::string title = std::string(words::kHeat.Pick(spanish)) + ' ' + std::to_string(slot.number) + '/' +
                      std::to_string(heatCount);
  if (slot.stage == Stage::Qualifying) {
    title += std::string(" · ") + words::kRound.Pick(spanish) + ' ' + std::to_string(slot.round) + ", " +
             words::kGroup.Pick(spanish) + ' ' + std::to_string(slot.group);
  } else if (slot.stage == Stage::Final) {
    title += std::string(" · ") + words::kFinal.Pick(spanish) + ' ' + FinalName(slot.group);
  }
  return title;
}

}  // namespace meeting
