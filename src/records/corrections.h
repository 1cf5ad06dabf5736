#pragma once
// Corrections of a race's result, kept as events lines: a missed crossing
// added, a false pass removed, a time or lap penalty, a disqualification,
// and the undoing of any of them. Each is appended to the race's events
// file like every event, numbered with them; its detail field says what it
// does, then the director's reason: "+1 P17: sensor missed car 3". Nothing
// is ever erased, an undo is a line of its own.

#include <optional>
#include <string>
#include <string_view>

#include "records/readers.h"

namespace records {

// The events codes of corrections.
inline constexpr const char* kLapCorrectionCode = "CORR";  // a lap added or a pass removed
inline constexpr const char* kPenaltyCode = "PEN";         // seconds added or laps taken off
inline constexpr const char* kDisqualifiedCode = "DSQ";
inline constexpr const char* kUndoCode = "ANUL";

// The longest reason kept in a line, in characters of the line.
inline constexpr std::size_t kReasonMaxLength = 80;
// Bounds of what a correction line may ask for.
inline constexpr long long kLongestPenaltyMs = 24LL * 3600 * 1000;
inline constexpr int kMostPenaltyLaps = 9999;

struct Correction {
  enum class Kind { AddLap, RemovePass, TimePenalty, LapPenalty, Disqualify, Undo };
  Kind kind = Kind::AddLap;
  int number = 0;  // its events line's number
  int car = 0;     // 1..12
  // AddLap: the pass that ends the lap hiding two; RemovePass: the pass taken away.
  int pass = 0;
  // AddLap: the car's race time of the missed crossing, in milliseconds; -1
  // splits the lap in two equal halves.
  long long splitMs = -1;
  long long penaltyMs = 0;  // TimePenalty
  int laps = 0;             // LapPenalty
  int undone = 0;           // Undo: the number of the correction undone
  std::string reason;       // UTF-8, may be empty
};

bool IsCorrectionCode(std::string_view code) noexcept;
const char* CodeOf(Correction::Kind kind) noexcept;

// What a correction does, as its detail begins: "+1 P17", "+1 P17 @83,407",
// "-1 P17", "+10,000 s", "-2 L", "DSQ", "#12".
std::string CorrectionAction(const Correction& correction);
// The whole events line (number and car from the correction; `time` the
// race time it was made at, or "--").
std::string CorrectionLine(const Correction& correction, std::string_view time);

// A correction read back from an events line. Strict: anything but a
// correction code, a car 1..12 and an action of the forms above, within
// their bounds, gives nothing.
std::optional<Correction> ParseCorrection(const TInci& line);

}  // namespace records
