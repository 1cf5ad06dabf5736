#include "meeting/driver.h"

#include "meeting/text.h"

namespace meeting {

std::string MakeShortName(std::string_view name) { return Tidy(FirstChars(Tidy(name), kMaxShortNameChars)); }

std::optional<DriverProblem> CheckFields(const Driver& driver) {
  if (driver.name.empty()) return DriverProblem::MissingName;
  if (CharCount(driver.name) > kMaxNameChars) return DriverProblem::NameTooLong;
  if (CharCount(driver.shortName) > kMaxShortNameChars) return DriverProblem::ShortNameTooLong;
  if (CharCount(driver.className) > kMaxClassChars) return DriverProblem::ClassTooLong;
  if (driver.number && (*driver.number < 1 || *driver.number > kMaxRaceNumber)) return DriverProblem::BadNumber;
  if (HasControl(driver.name) || HasControl(driver.shortName) || HasControl(driver.className)) {
    return DriverProblem::ControlCharacter;
  }
  return std::nullopt;
}

const Driver* NameHolder(const std::vector<Driver>& roster, std::string_view name, DriverId except) {
  const std::string key = MatchKey(name);
  for (const auto& d : roster) {
    if (d.id != except && MatchKey(d.name) == key) return &d;
  }
  return nullptr;
}

const Driver* NumberHolder(const std::vector<Driver>& roster, std::string_view className, int number,
                           DriverId except) {
  const std::string key = MatchKey(className);
  for (const auto& d : roster) {
    if (d.id != except && d.number == number && MatchKey(d.className) == key) return &d;
  }
  return nullptr;
}

std::optional<DriverProblem> CheckDriver(const std::vector<Driver>& roster, const Driver& driver) {
  if (auto problem = CheckFields(driver)) return problem;
  if (NameHolder(roster, driver.name, driver.id)) return DriverProblem::NameTaken;
  if (driver.number && NumberHolder(roster, driver.className, *driver.number, driver.id)) {
    return DriverProblem::NumberTaken;
  }
  return std::nullopt;
}

RosterIndex IndexOf(const std::vector<Driver>& roster) {
  RosterIndex index;
  index.reserve(roster.size());
  for (const auto& d : roster) index.emplace(d.id, &d);
  return index;
}

std::optional<int> ParseRaceNumber(std::string_view text) noexcept {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > kMaxRaceNumber) return std::nullopt;
  return value;
}

}  // namespace meeting

