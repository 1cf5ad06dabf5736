#include "records/corrections.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "records/lines.h"
#include "records/numbers.h"

namespace records {
namespace {

// A whole number of at most 9 digits, no sign.
std::optional<long long> Whole(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Seconds with a comma as the lines write them, to whole milliseconds.
std::optional<long long> Millis(std::string_view text) {
  if (text.empty() || text.size() > 16 || text.front() == '-' || text.front() == '+') return std::nullopt;
  const auto seconds = ParseCommaDecimal(text);
  if (!seconds || !std::isfinite(*seconds) || *seconds < 0 || *seconds > 1e7) return std::nullopt;
  return std::llround(*seconds * 1000.0);
}

bool Consume(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// The action part of a detail into the correction; false when it is not one.
bool ParseAction(std::string_view code, std::string_view action, Correction& c) {
  using Kind = Correction::Kind;
  if (code == kLapCorrectionCode) {
    const bool add = Consume(action, "+1 P");
    if (!add && !Consume(action, "-1 P")) return false;
    c.kind = add ? Kind::AddLap : Kind::RemovePass;
    const std::size_t space = action.find(' ');
    const auto pass = Whole(action.substr(0, space));
    if (!pass || *pass < 1 || *pass > 65535) return false;
    c.pass = static_cast<int>(*pass);
    if (space == std::string_view::npos) return true;
    action.remove_prefix(space);
    if (!add || !Consume(action, " @")) return false;
    const auto at = Millis(action);
    if (!at) return false;
    c.splitMs = *at;
    return true;
  }
  if (code == kPenaltyCode) {
    if (Consume(action, "+") && action.ends_with(" s")) {
      const auto ms = Millis(action.substr(0, action.size() - 2));
      if (!ms || *ms <= 0 || *ms > kLongestPenaltyMs) return false;
      c.kind = Kind::TimePenalty;
      c.penaltyMs = *ms;
      return true;
    }
    if (Consume(action, "-") && action.ends_with(" L")) {
      const auto laps = Whole(action.substr(0, action.size() - 2));
      if (!laps || *laps < 1 || *laps > kMostPenaltyLaps) return false;
      c.kind = Kind::LapPenalty;
      c.laps = static_cast<int>(*laps);
      return true;
    }
    return false;
  }
  if (code == kDisqualifiedCode) {
    c.kind = Kind::Disqualify;
    return action == "DSQ";
  }
  if (code == kUndoCode && Consume(action, "#")) {
    const auto undone = Whole(action);
    if (!undone || *undone < 1 || *undone > 65535) return false;
    c.kind = Kind::Undo;
    c.undone = static_cast<int>(*undone);
    return true;
  }
  return false;
}

}  // namespace

bool IsCorrectionCode(std::string_view code) noexcept {
  return code == kLapCorrectionCode || code == kPenaltyCode || code == kDisqualifiedCode || code == kUndoCode;
}

const char* CodeOf(Correction::Kind kind) noexcept {
  switch (kind) {
    case Correction::Kind::AddLap:
    case Correction::Kind::RemovePass: return kLapCorrectionCode;
    case Correction::Kind::TimePenalty:
    case Correction::Kind::LapPenalty: return kPenaltyCode;
    case Correction::Kind::Disqualify: return kDisqualifiedCode;
    case Correction::Kind::Undo: return kUndoCode;
  }
  return kLapCorrectionCode;
}

std::string CorrectionAction(const Correction& c) {
  switch (c.kind) {
    case Correction::Kind::AddLap:
      return "+1 P" + std::to_string(c.pass) + (c.splitMs >= 0 ? " @" + SecondsText(c.splitMs) : std::string());
    case Correction::Kind::RemovePass: return "-1 P" + std::to_string(c.pass);
    case Correction::Kind::TimePenalty: return "+" + SecondsText(c.penaltyMs) + " s";
    case Correction::Kind::LapPenalty: return "-" + std::to_string(c.laps) + " L";
    case Correction::Kind::Disqualify: return "DSQ";
    case Correction::Kind::Undo: return "#" + std::to_string(c.undone);
  }
  return {};
}

std::string CorrectionLine(const Correction& c, std::string_view time) {
  std::string detail = CorrectionAction(c);
  if (!c.reason.empty()) {
    // Cut on a character's first byte, so no UTF-8 sequence is split.
    std::size_t length = std::min(c.reason.size(), kReasonMaxLength);
    while (length > 0 && length < c.reason.size() && (static_cast<unsigned char>(c.reason[length]) & 0xC0) == 0x80) {
      --length;
    }
    detail += ": " + c.reason.substr(0, length);
  }
  return NoteEventLine(c.number, c.car, time, CodeOf(c.kind), detail);
}

std::optional<Correction> ParseCorrection(const TInci& line) {
  if (!IsCorrectionCode(line.type) || !line.hasCar || line.car < 1 || line.car > 12 || !line.hasDetail) {
    return std::nullopt;
  }
  Correction c;
  c.number = line.number;
  c.car = line.car;
  std::string_view detail = line.detail;
  if (detail.size() > 255) return std::nullopt;
  const std::size_t colon = detail.find(": ");
  if (colon != std::string_view::npos) {
    c.reason = std::string(detail.substr(colon + 2));
    detail = detail.substr(0, colon);
  }
  if (!ParseAction(line.type, detail, c)) return std::nullopt;
  return c;
}

}  // namespace records
