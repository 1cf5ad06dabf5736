#include "records/run_journal.h"
#include "records/cars.h"

#include <charconv>
#include <map>

namespace records {
namespace {

constexpr std::string_view kFirstLine = "TRELVIX-RUN 1";

bool ToInt(std::string_view text, std::int64_t& value) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string RunJournalName(std::string_view raceBase) { return std::string(raceBase) + ".run"; }

bool IsRunJournalName(std::string_view fileName) {
  if (fileName.size() < 4) return false;
  const std::string_view ext = fileName.substr(fileName.size() - 4);
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return ext[0] == '.' && lower(ext[1]) == 'r' && lower(ext[2]) == 'u' && lower(ext[3]) == 'n';
}

std::string FormatRunJournal(const RunJournal& j) {
  std::string cars;
  for (int car : j.cars) cars += (cars.empty() ? "" : " ") + std::to_string(car);
  std::string text(kFirstLine);
  text += "\nrace=" + j.raceBase;
  text += "\ncars=" + cars;
  text += std::string("\ntiming=") + (j.individualTiming ? "individual" : "common");
  text += "\nminutes=" + std::to_string(j.raceMinutes);
  text += "\nminlap=" + std::to_string(j.minLapSeconds);
  text += std::string("\nlanguage=") + (j.spanish ? "es" : "en");
  text += std::string("\nsound=") + (j.soundOn ? "1" : "0");
  text += "\nfrequency=" + std::to_string(j.frequency);
  text += "\nstartcount=" + std::to_string(j.startCount);
  text += "\nstartwall=" + std::to_string(j.startWallMillis);
  text += "\nstartunix=" + std::to_string(j.startUnixNanos);
  text += "\nbootid=" + j.bootId;
  // The last line tells a whole journal from one cut short by a power cut.
  text += "\nend\n";
  return text;
}

std::optional<RunJournal> ParseRunJournal(std::string_view text) {
  std::map<std::string, std::string, std::less<>> fields;
  bool first = true;
  bool ended = false;
  while (!text.empty()) {
    const auto eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      if (line != kFirstLine) return std::nullopt;
      first = false;
      continue;
    }
    if (line == "end") {
      ended = true;
      break;
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    fields.emplace(std::string(line.substr(0, eq)), std::string(line.substr(eq + 1)));
  }
  if (!ended) return std::nullopt;
  auto text_of = [&fields](std::string_view key) -> const std::string* {
    const auto it = fields.find(key);
    return it == fields.end() ? nullptr : &it->second;
  };
  auto number = [&](std::string_view key, std::int64_t& value) {
    const std::string* t = text_of(key);
    return t != nullptr && ToInt(*t, value);
  };
  RunJournal j;
  std::int64_t minutes = 0, minLap = 0;
  const std::string* race = text_of("race");
  const std::string* cars = text_of("cars");
  const std::string* timing = text_of("timing");
  const std::string* language = text_of("language");
  const std::string* sound = text_of("sound");
  const std::string* boot = text_of("bootid");
  if (race == nullptr || race->size() != 8 || cars == nullptr || timing == nullptr || language == nullptr ||
      sound == nullptr || boot == nullptr || !number("minutes", minutes) || !number("minlap", minLap) ||
      !number("frequency", j.frequency) || !number("startcount", j.startCount) ||
      !number("startwall", j.startWallMillis) || !number("startunix", j.startUnixNanos)) {
    return std::nullopt;
  }
  if (minutes < 1 || minutes > 255 || minLap < 1 || minLap > 999999999 || j.frequency <= 0) return std::nullopt;
  j.raceBase = *race;
  j.raceMinutes = static_cast<int>(minutes);
  j.minLapSeconds = static_cast<int>(minLap);
  j.individualTiming = *timing == "individual";
  j.spanish = *language == "es";
  j.soundOn = *sound == "1";
  j.bootId = *boot;
  std::string_view list = *cars;
  while (!list.empty()) {
    const auto space = list.find(' ');
    std::int64_t car = 0;
    if (!ToInt(list.substr(0, space), car) || !IsCar(static_cast<int>(car))) return std::nullopt;
    j.cars.push_back(static_cast<int>(car));
    list = space == std::string_view::npos ? std::string_view() : list.substr(space + 1);
  }
  return j;
}

}  // namespace records
