#include "race/spoken_numbers.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace race {

namespace {

// Spanish writes 0..29 as one word each.
constexpr std::array<const char*, 30> kSpanishUnder30 = {
    "cero",         "uno",         "dos",        "tres",        "cuatro",     "cinco",      "seis",      "siete",
    "ocho",         "nueve",       "diez",       "once",        "doce",       "trece",      "catorce",   "quince",
    "dieciséis",    "diecisiete",  "dieciocho",  "diecinueve",  "veinte",     "veintiuno",  "veintidós", "veintitrés",
    "veinticuatro", "veinticinco", "veintiséis", "veintisiete", "veintiocho", "veintinueve"};
constexpr std::array<const char*, 10> kSpanishTens = {"",          "",        "",        "treinta", "cuarenta",
                                                      "cincuenta", "sesenta", "setenta", "ochenta", "noventa"};
constexpr std::array<const char*, 10> kSpanishHundreds = {
    "",           "ciento",      "doscientos",  "trescientos", "cuatrocientos",
    "quinientos", "seiscientos", "setecientos", "ochocientos", "novecientos"};

constexpr std::array<const char*, 20> kEnglishUnder20 = {
    "zero", "one",    "two",    "three",    "four",     "five",    "six",     "seven",     "eight",    "nine",
    "ten",  "eleven", "twelve", "thirteen", "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
constexpr std::array<const char*, 10> kEnglishTens = {"",      "",      "twenty",  "thirty", "forty",
                                                      "fifty", "sixty", "seventy", "eighty", "ninety"};

constexpr std::array<const char*, 13> kSpanishOrdinals = {"",       "primero",  "segundo",  "tercero", "cuarto",
                                                          "quinto", "sexto",    "séptimo",  "octavo",  "noveno",
                                                          "décimo", "undécimo", "duodécimo"};
constexpr std::array<const char*, 13> kEnglishOrdinals = {"",      "first",    "second",  "third",  "fourth",
                                                          "fifth", "sixth",    "seventh", "eighth", "ninth",
                                                          "tenth", "eleventh", "twelfth"};

// 1..999.
std::string SpanishUnder1000(int n) {
  if (n == 100) return "cien";
  std::string words;
  if (n >= 100) {
    words = kSpanishHundreds.at(static_cast<std::size_t>(n / 100));
    n %= 100;
    if (n == 0) return words;
    words += ' ';
  }
  if (n < 30) return words + kSpanishUnder30.at(static_cast<std::size_t>(n));
  words += kSpanishTens.at(static_cast<std::size_t>(n / 10));
  if (n % 10 != 0) words += std::string(" y ") + kSpanishUnder30.at(static_cast<std::size_t>(n % 10));
  return words;
}

// Before "mil" a final "uno" loses its last letter: "veintiún mil", "ciento un mil".
std::string SpanishThousands(int n) {
  if (n == 1) return "mil";
  std::string words = SpanishUnder1000(n);
  constexpr std::string_view kVeintiuno = "veintiuno";
  if (words.ends_with(kVeintiuno)) {
    words.replace(words.size() - kVeintiuno.size(), kVeintiuno.size(), "veintiún");
  } else if (words.ends_with("uno")) {
    words.pop_back();
  }
  return words + " mil";
}

std::string EnglishUnder1000(int n) {
  std::string words;
  if (n >= 100) {
    words = std::string(kEnglishUnder20.at(static_cast<std::size_t>(n / 100))) + " hundred";
    n %= 100;
    if (n == 0) return words;
    words += " and ";
  }
  if (n < 20) return words + kEnglishUnder20.at(static_cast<std::size_t>(n));
  words += kEnglishTens.at(static_cast<std::size_t>(n / 10));
  if (n % 10 != 0) words += std::string("-") + kEnglishUnder20.at(static_cast<std::size_t>(n % 10));
  return words;
}

}  // namespace

std::string SpokenNumber(std::int64_t n, bool spanish) {
  const int value = static_cast<int>(std::clamp<std::int64_t>(n, 0, kMaxSpokenNumber));
  if (value == 0) return spanish ? kSpanishUnder30[0] : kEnglishUnder20[0];
  const int thousands = value / 1000;
  const int rest = value % 1000;
  if (spanish) {
    if (thousands == 0) return SpanishUnder1000(rest);
    std::string words = SpanishThousands(thousands);
    return rest == 0 ? words : words + ' ' + SpanishUnder1000(rest);
  }
  if (thousands == 0) return EnglishUnder1000(rest);
  std::string words = EnglishUnder1000(thousands) + " thousand";
  if (rest == 0) return words;
  // "one thousand and five", as "one hundred and five".
  return words + (rest < 100 ? " and " : " ") + EnglishUnder1000(rest);
}

std::string SpokenTenths(std::int64_t millis, bool spanish) {
  const std::int64_t tenths = (std::max<std::int64_t>(millis, 0) + 50) / 100;
  return SpokenNumber(tenths / 10, spanish) + (spanish ? " coma " : " point ") + SpokenNumber(tenths % 10, spanish);
}

std::string SpokenOrdinal(int n, bool spanish) {
  if (n < 1 || n > 12) return SpokenNumber(n, spanish);
  return (spanish ? kSpanishOrdinals : kEnglishOrdinals).at(static_cast<std::size_t>(n));
}

}  // namespace race
