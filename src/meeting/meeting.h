#pragma once
// A club meeting: its date, name and class, the drivers entered, one format
// with its settings, and the points table its classification scores by.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "meeting/driver.h"

namespace meeting {

using MeetingId = std::int64_t;  // given by the store; 0 until saved

struct Date {
  int year = 2000;
  int month = 1;
  int day = 1;
  bool operator==(const Date&) const = default;
  bool operator<(const Date& other) const noexcept {
    return std::tie(year, month, day) < std::tie(other.year, other.month, other.day);
  }
};
std::string IsoDate(Date date);                     // "2026-12-06"
std::optional<Date> ParseIsoDate(std::string_view text);  // a real day of 2000..2099

enum class Format {
  Rotation,          // slot: every driver once on every lane, laps added up
  QualifyingFinals,  // RC: qualifying rounds, then A/B/C... finals with bump-ups
};

struct RotationSettings {
  int lanes = 4;         // 2..12: the lanes (cars) in use
  int stintMinutes = 5;  // 1..180
};

enum class FirstRoundOrder { Random, Entry };
enum class QualifyingRanking {
  BestRound,    // each driver's best single round: laps, then time
  RoundPoints,  // per round, place p of n drivers scores n + 1 - p; summed
};

struct QualifyingSettings {
  int rounds = 3;           // 1..5
  int roundMinutes = 5;     // 1..180
  int groupSize = 10;       // 2..12 cars in a qualifying group
  FirstRoundOrder firstRound = FirstRoundOrder::Random;
  std::uint64_t seed = 1;   // the draw of round 1: the same seed, the same draw
  QualifyingRanking ranking = QualifyingRanking::BestRound;
  bool individualTiming = false;  // qualifying only; rotation and finals are common
  int finalSize = 10;       // 2..groupSize cars in a final
  int bumpUp = 2;           // 0..4, and below finalSize
  int finalMinutes = 5;     // 1..180
};

// 10-8-6-5-4-3-2-1
std::vector<int> DefaultPoints();
inline constexpr std::size_t kMaxPointsPlaces = 40;
inline constexpr int kMaxPointsPerPlace = 1000;
inline constexpr std::size_t kMaxEntrants = 500;
inline constexpr std::size_t kMaxMeetingNameChars = 60;

struct Meeting {
  MeetingId id = 0;
  Date date;
  std::string name;
  std::string className;
  std::vector<DriverId> entrants;  // entry order: round 1 "in entry order", the last tie-break
  Format format = Format::Rotation;
  RotationSettings rotation;
  QualifyingSettings qualifying;
  std::vector<int> points = DefaultPoints();  // points[p - 1] for place p; none past its end
};

enum class MeetingProblem {
  MissingName,
  NameTooLong,
  TooFewDrivers,     // fewer than 2
  TooManyDrivers,    // over kMaxEntrants
  DriverTwice,
  BadLanes,
  BadMinutes,
  BadRounds,
  BadGroupSize,
  BadFinalSize,
  BadBumpUp,
  BadPoints,         // over kMaxPointsPlaces places, or a value outside 0..kMaxPointsPerPlace
};

// The first problem of the meeting's settings; nothing when it can be run.
std::optional<MeetingProblem> CheckMeeting(const Meeting& meeting);

// The points of a place under the meeting's table; 0 past its end.
int PointsFor(const std::vector<int>& table, int place) noexcept;

}  // namespace meeting
