#include "records/browser_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/directory.h"
#include "records/lines.h"

namespace records {
std::string PaddedNumber(const char* format, long long value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

std::string RightAligned(std::string_view text, std::size_t width) {
  // Width counts characters as shown: a UTF-8 continuation byte is no character.
  std::size_t shown = 0;
  for (char c : text) shown += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  std::string out;
  if (shown < width) out.assign(width - shown, ' ');
  out.append(text);
  return out;
}

std::vector<std::string> DayList(const std::vector<std::string>& entryNames) {
  std::vector<std::string> days;
  for (const auto& name : entryNames) {
    if (platform::WildcardMatch("??????00.TXT", name)) days.push_back(name.substr(0, 6));
  }
  std::sort(days.begin(), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
  return days;
}

std::string RaceFileName(std::string_view dayStem, int raceNumber, std::string_view extension) {
  char two[8];
  std::snprintf(two, sizeof two, "%02d", raceNumber);
  return std::string(dayStem) + two + std::string(extension);
}

std::vector<std::string> ClassificationHeadings(bool spanish) {
  if (spanish) return {"Pto.", "C.", "Vueltas", "T. total", "V. ráp."};
  return {"Pos.", "C.", "Laps", "Total t.", "Fast lap"};
}

std::vector<std::string> PassesHeadings(bool spanish) {
  if (spanish) return {"Paso", "C.", "Vuelta", "Tiempo", "T. total"};
  return {"Pass", "C.", "Lap", "Time", "Total t."};
}

std::vector<std::string> RacesHeadings(bool spanish) {
  if (spanish) return {"Cra.", "Mtos.", "Coches", "Hora inicio"};
  return {"Race", "Mtes.", "Cars", "Hour started"};
}

std::string FixedSeconds(double seconds, int width) {
  if (!(std::fabs(seconds) < 1e15)) {
    // A hand-edited file may hold any number: too big for whole milliseconds.
    char big[400];
    std::snprintf(big, sizeof big, "%.3f", seconds);
    std::string text = big;
    for (char& c : text) {
      if (c != '-' && (c < '0' || c > '9')) c = ',';
    }
    return RightAligned(text, static_cast<std::size_t>(width));
  }
  return RightAligned(SecondsText(std::llround(seconds * 1000.0)), static_cast<std::size_t>(width));
}

std::vector<std::string> ClassificationCells(const TLClasif& row) {
  return {PaddedNumber("%4lld", row.position), PaddedNumber("%3lld", row.car), PaddedNumber("%6lld", row.laps), row.total,
          FixedSeconds(row.fastestLap, 7)};
}

std::vector<std::string> PassCells(const TPaso& pass) {
  return {PaddedNumber("%4lld", pass.pass), PaddedNumber("%3lld", pass.car), PaddedNumber("%6lld", pass.lap),
          FixedSeconds(pass.lapTime, 8), RightAligned(pass.total, 11)};
}

std::vector<std::string> RaceCells(const TRace& race) {
  return {PaddedNumber("%4lld", race.race), PaddedNumber("%4lld", race.minutes), PaddedNumber("%4lld", race.cars), race.startTime};
}

std::string DescriptionValue(const ClassificationFile& file) {
  return file.description + ". " + file.finishLine + ".";
}

std::string DetailsValue(const ClassificationFile& file) { return file.startLine + "."; }

int GridHeight(int rows, int top, int windowHeight) {
  constexpr int kRow = 14;
  const int wanted = (std::max(rows, 1) + 1) * kRow + kRow;
  const int limit = (windowHeight - top - 20) / kRow * kRow;
  return std::min(wanted, std::max(limit, kRow));
}

int GridPixelHeight(int rows, int top, int windowHeight, bool passesGrid) {
  const int h = GridHeight(rows, top, windowHeight);
  return passesGrid ? (h + 3) / 4 * 4 : (h + 7) / 4 * 4 + 2;
}

}  // namespace records
