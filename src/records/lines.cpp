#include "records/lines.h"

#include <cstdio>

#include "records/cp1252.h"
#include "records/words.h"

namespace records {
namespace {

struct ClockParts {
  long long h, m, s, ms;
};

ClockParts Split(std::int64_t millis) {
  if (millis < 0) millis = 0;
  return {millis / 3600000, millis / 60000 % 60, millis / 1000 % 60, millis % 1000};
}

// The classification's start and finish lines, in the language of the moment.
constexpr Words kStartLine{"Carrera %1 (%2 minutos %3 coches) iniciada a las ", "Race %1 (%2 minutes %3 cars) started at "};
constexpr Words kIndividualTiming{"Crono individual. ", "Individual timing. "};
constexpr Words kCommonTiming{"Crono común. ", "Common timing. "};
constexpr Words kStoppedAt{"Carrera parada a ", "Race stopped at "};
constexpr Words kFinishedNormally{"Carrera terminada normalmente", "Race finished normally"};

std::string Join(std::initializer_list<std::string_view> fields) {
  std::string out;
  bool first = true;
  for (auto f : fields) {
    if (!first) out.push_back('\t');
    first = false;
    out.append(f);
  }
  return out;
}

}  // namespace

std::string SecondsText(long long millis) {
  const unsigned long long whole = millis < 0 ? 0ULL - static_cast<unsigned long long>(millis) : millis;
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s%llu,%03llu", millis < 0 ? "-" : "", whole / 1000, whole % 1000);
  return buf;
}

std::string PaddedClockTime(std::int64_t millisOfDay) {
  const auto p = Split(millisOfDay);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02lldh%02lld'%02lld\"%03lld", p.h, p.m, p.s, p.ms);
  return buf;
}

std::string PlainClockTime(std::int64_t millisOfDay) {
  const auto p = Split(millisOfDay);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%lldh%lld'%lld\"%lld", p.h, p.m, p.s, p.ms);
  return buf;
}

std::string RacesLine(int raceNumber, int minutes, int participants, std::int64_t startMillisOfDay,
                      std::string_view description) {
  return Join({std::to_string(raceNumber), std::to_string(minutes), std::to_string(participants),
               PaddedClockTime(startMillisOfDay), FieldText(description)});
}

std::string PassLine(int passCount, int car, int laps, std::string_view lapText, std::string_view totalText) {
  return Join({std::to_string(passCount), std::to_string(car), std::to_string(laps), lapText, totalText});
}

std::string EventLine(int number, int car, int laps, std::string_view time, std::string_view code) {
  return Join({std::to_string(number), std::to_string(car), std::to_string(laps), time, code});
}

std::string ErrorEventLine(int number, int car, std::string_view time, std::string_view code) {
  return Join({std::to_string(number), std::to_string(car), "--", time, code});
}

std::string ManualEventLine(int number, std::string_view time, std::string_view text) {
  return Join({std::to_string(number), "--", "--", time, "MANU", FieldText(text)});
}

std::string NoteEventLine(int number, int car, std::string_view time, std::string_view code, std::string_view detail) {
  return Join({std::to_string(number), car >= 1 ? std::to_string(car) : "--", "--", time, code, FieldText(detail)});
}

std::string ClassificationRow(int position, int car, int laps, std::string_view total, std::string_view best) {
  return Join({std::to_string(position), std::to_string(car), std::to_string(laps), total, best});
}

std::string ClassificationStartLine(bool spanish, int raceNumber, int minutes, int participants,
                                    std::int64_t startMillisOfDay) {
  char number[8];
  std::snprintf(number, sizeof number, "%02d", raceNumber);
  return Filled(kStartLine.Pick(spanish), number, std::to_string(minutes), std::to_string(participants)) +
         PlainClockTime(startMillisOfDay);
}

std::string ClassificationFinishLine(bool spanish, bool individualTiming, bool stopped,
                                     std::string_view stoppedAt) {
  std::string line = (individualTiming ? kIndividualTiming : kCommonTiming).Pick(spanish);
  if (stopped) return line + kStoppedAt.Pick(spanish) + std::string(stoppedAt);
  return line + kFinishedNormally.Pick(spanish);
}

}  // namespace records
