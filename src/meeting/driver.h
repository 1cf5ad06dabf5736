#pragma once
// A driver of the club's roster, the limits of its fields and the rules that
// keep a roster sound: one driver per name, one driver per race number and
// class.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace meeting {

// Stable: given by the store when the driver is first saved; 0 until then.
using DriverId = std::int64_t;

struct Driver {
  DriverId id = 0;
  std::string name;                 // UTF-8, tidy (see Tidy), 1..kMaxNameChars characters
  std::string shortName;            // 1..kMaxShortNameChars characters, for tight places
  std::optional<int> number;        // race number, 1..kMaxRaceNumber
  std::string className;            // free text ("GT", "Mini-Z"), may be empty
  bool active = true;
  bool operator==(const Driver&) const = default;
};

inline constexpr std::size_t kMaxNameChars = 60;
inline constexpr std::size_t kMaxShortNameChars = 12;
inline constexpr std::size_t kMaxClassChars = 40;
inline constexpr int kMaxRaceNumber = 9999;

// What is wrong with a driver's fields, or with a row that would make one.
enum class DriverProblem {
  MissingName,
  NameTooLong,
  ShortNameTooLong,
  ClassTooLong,
  BadNumber,
  ControlCharacter,
  NameTaken,    // another driver has the same name (MatchKey)
  NumberTaken,  // another driver of the same class has the same number
};

// The short name a new driver gets when none is given: the name's first
// twelve characters, without a blank at the end.
std::string MakeShortName(std::string_view name);

// The first problem of the driver's own fields, in the order of the enum;
// nothing when they are sound. Texts are expected tidy (the store and the
// import tidy them).
std::optional<DriverProblem> CheckFields(const Driver& driver);

// The driver of the roster, other than `except`, that has the given name,
// or the given race number in the given class; nullptr when there is none.
const Driver* NameHolder(const std::vector<Driver>& roster, std::string_view name, DriverId except);
const Driver* NumberHolder(const std::vector<Driver>& roster, std::string_view className, int number,
                           DriverId except);

// Fields and roster together: what the window checks before it saves a driver.
std::optional<DriverProblem> CheckDriver(const std::vector<Driver>& roster, const Driver& driver);

// The roster by id, for looking many drivers up. Points into the roster,
// which must outlive it unchanged.
using RosterIndex = std::unordered_map<DriverId, const Driver*>;
RosterIndex IndexOf(const std::vector<Driver>& roster);

// A race number from a text: digits only, 1..kMaxRaceNumber.
std::optional<int> ParseRaceNumber(std::string_view text) noexcept;

}  // namespace meeting
