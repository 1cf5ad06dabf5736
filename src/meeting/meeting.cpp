#include "meeting/meeting.h"

#include <charconv>
#include <cstdio>
#include <set>

#include "meeting/text.h"
#include "records/cars.h"

namespace meeting {
namespace {

bool InRange(int value, int low, int high) noexcept { return value >= low && value <= high; }

int DaysIn(int year, int month) noexcept {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::string IsoDate(Date date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

std::optional<Date> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto number = [&](std::size_t at, std::size_t length) {
    int value = -1;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + at + length, value);
    return error == std::errc() && end == text.data() + at + length ? value : -1;
  };
  const Date date{number(0, 4), number(5, 2), number(8, 2)};
  if (!InRange(date.year, 2000, 2099) || !InRange(date.month, 1, 12) ||
      !InRange(date.day, 1, DaysIn(date.year, date.month))) {
    return std::nullopt;
  }
  return date;
}

std::vector<int> DefaultPoints() { return {10, 8, 6, 5, 4, 3, 2, 1}; }

int PointsFor(const std::vector<int>& table, int place) noexcept {
  if (place < 1 || static_cast<std::size_t>(place) > table.size()) return 0;
  return table[static_cast<std::size_t>(place) - 1];
}

std::optional<MeetingProblem> CheckMeeting(const Meeting& m) {
  if (Tidy(m.name).empty()) return MeetingProblem::MissingName;
  if (CharCount(m.name) > kMaxMeetingNameChars) return MeetingProblem::NameTooLong;
  if (m.entrants.size() < 2) return MeetingProblem::TooFewDrivers;
  if (m.entrants.size() > kMaxEntrants) return MeetingProblem::TooManyDrivers;
  if (std::set<DriverId>(m.entrants.begin(), m.entrants.end()).size() != m.entrants.size()) {
    return MeetingProblem::DriverTwice;
  }
  if (m.format == Format::Rotation) {
    if (!InRange(m.rotation.lanes, 2, records::kCars)) return MeetingProblem::BadLanes;
    if (!InRange(m.rotation.stintMinutes, 1, 180)) return MeetingProblem::BadMinutes;
  } else {
    const auto& q = m.qualifying;
    if (!InRange(q.rounds, 1, 5)) return MeetingProblem::BadRounds;
    if (!InRange(q.roundMinutes, 1, 180) || !InRange(q.finalMinutes, 1, 180)) return MeetingProblem::BadMinutes;
    if (!InRange(q.groupSize, 2, records::kCars)) return MeetingProblem::BadGroupSize;
    if (!InRange(q.finalSize, 2, q.groupSize)) return MeetingProblem::BadFinalSize;
    if (!InRange(q.bumpUp, 0, 4) || q.bumpUp >= q.finalSize) return MeetingProblem::BadBumpUp;
  }
  if (m.points.size() > kMaxPointsPlaces) return MeetingProblem::BadPoints;
  for (int p : m.points) {
    if (!InRange(p, 0, kMaxPointsPerPlace)) return MeetingProblem::BadPoints;
  }
  return std::nullopt;
}

}  // namespace meeting
