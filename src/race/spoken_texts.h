#pragma once
// The sentences the voice says, Spanish or English, every number in words.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace race {

// Car number -> the driver's short name, in a meeting heat.
using DriverNames = std::map<int, std::string>;

// The longest name read out, in characters; a longer one is cut.
inline constexpr std::size_t kMaxSpokenNameLength = 20;

// A name as the speech engine may read it: no control characters, no
// markup characters, spaces trimmed, at most kMaxSpokenNameLength characters.
std::string SpeakableName(std::string_view name);

// "coche tres" / "car three", or the driver's name in a heat.
std::string CarOrDriver(int car, const DriverNames& names, bool spanish);

// "Coche tres, doce coma cuatro, posición dos, fin"; position 0 leaves the
// position out.
std::string PassSentence(int car, const DriverNames& names, std::int64_t lapMillis, int position, bool finished,
                         bool spanish);
// "Lidera el coche tres" / "Car three leads", with the lap time when
// lapMillis is above zero: "Lidera Marta, doce coma cuatro".
std::string LeaderSentence(int car, const DriverNames& names, std::int64_t lapMillis, bool spanish);
std::string OneMinuteSentence(bool spanish);
std::string TimeUpSentence(bool spanish);
// "Clasificación. Primero, coche tres. Segundo, Marta."
std::string FinishSentence(const std::vector<int>& order, const DriverNames& names, bool spanish);
// "Próxima manga. Coche uno, Marta. Coche dos, Luis."
std::string LineUpSentence(const DriverNames& lineUp, bool spanish);

}  // namespace race
