#pragma once
// The meeting rules' own words, each a Spanish/English pair, and the texts
// built from them: reasons, heat titles.

#include <string>

#include "meeting/driver.h"
#include "meeting/heat.h"
#include "meeting/meeting.h"
#include "meeting/roster_csv.h"
#include "records/words.h"

namespace meeting {

using records::Words;

namespace words {
inline constexpr Words kHeat{"Manga", "Heat"};
inline constexpr Words kRound{"Ronda", "Round"};
inline constexpr Words kGroup{"grupo", "group"};
inline constexpr Words kFinal{"Final", "Final"};
inline constexpr Words kRow{"Fila", "Row"};
inline constexpr Words kRotation{"Rotación", "Rotation"};
inline constexpr Words kQualifyingFinals{"Clasificación y finales", "Qualifying and finals"};
inline constexpr Words kAsRow{"como la fila", "as row"};
inline constexpr Words kRosterHeader{"nombre,abreviatura,número,clase,activo", "name,short name,number,class,active"};
inline constexpr Words kYes{"sí", "yes"};
inline constexpr Words kNo{"no", "no"};
}  // namespace words

const Words& WordsOf(DriverProblem problem) noexcept;
const Words& WordsOf(RowProblem problem) noexcept;
const Words& WordsOf(ImportFailure failure) noexcept;
const Words& WordsOf(MeetingProblem problem) noexcept;
const Words& WordsOf(ResultProblem problem) noexcept;
// "" for a classified car, "No salió"/"DNS", "DSQ"/"DSQ".
const Words& WordsOf(CarStatus status) noexcept;

// "Fila 12: falta el nombre" / "Row 12: no name", with the earlier row or
// the driver that holds a number when there is one.
std::string RefusalText(const RefusedRow& refused, bool spanish);

// "Manga 3/7"; "Manga 5/9 · Ronda 2, grupo 1"; "Manga 9/9 · Final A".
std::string HeatTitle(const HeatSlot& slot, int heatCount, bool spanish);

}  // namespace meeting
