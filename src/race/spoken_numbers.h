#pragma once
// Numbers written out as words, Spanish or English, for a speech engine to
// read whatever its voice: "doce coma cuatro", "twelve point four".

#include <cstdint>
#include <string>

namespace race {

// The largest whole number written out; larger ones are read as it.
inline constexpr std::int64_t kMaxSpokenNumber = 999999;

// 0 .. 999999 in words: "veintiuno", "ciento quince"; "twenty-one", "one
// hundred and fifteen". Negative numbers read as zero.
std::string SpokenNumber(std::int64_t n, bool spanish);

// Milliseconds as seconds to the nearest tenth, a half tenth rounding up:
// 12400 is "doce coma cuatro" / "twelve point four", 9950 "diez coma cero".
std::string SpokenTenths(std::int64_t millis, bool spanish);

// 1 .. 12 as ordinals: "primero" ... "duodécimo", "first" ... "twelfth";
// other numbers as whole numbers.
std::string SpokenOrdinal(int n, bool spanish);

}  // namespace race
