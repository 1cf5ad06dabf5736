#include "results/wording.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace results {

namespace {

constexpr std::array<Words, 12> kMonths = {{{"enero", "January"},
                                            {"febrero", "February"},
                                            {"marzo", "March"},
                                            {"abril", "April"},
                                            {"mayo", "May"},
                                            {"junio", "June"},
                                            {"julio", "July"},
                                            {"agosto", "August"},
                                            {"septiembre", "September"},
                                            {"octubre", "October"},
                                            {"noviembre", "November"},
                                            {"diciembre", "December"}}};
constexpr Words kDayOfMonth{"%1 de %2 de %3", "%1 %2 %3"};

bool Digits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Number(std::string_view two) { return (two[0] - '0') * 10 + (two[1] - '0'); }

}  // namespace

std::string DurationText(long long ms) {
  if (ms < 0) ms = 0;
  char buf[64];
  if (ms < 3600000) {
    std::snprintf(buf, sizeof buf, "%02lld'%02lld\"%03lld", ms / 60000, ms / 1000 % 60, ms % 1000);
  } else {
    std::snprintf(buf, sizeof buf, "%lldh %02lld'%02lld\"%03lld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                  ms % 1000);
  }
  return buf;
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
  const char* monthName = kMonths[static_cast<std::size_t>(month - 1)].Pick(spanish);
  return Filled(kDayOfMonth.Pick(spanish), std::to_string(day), monthName, year);
}

}  // namespace results
