#include "decoder/protocol.h"

#include <limits>

namespace decoder {
namespace {

constexpr std::string_view kHello = "TRELVIX-GATE 1";

// "0", or 1..20 decimal digits without a leading zero that fit in 64 bits.
bool ParseMicros(std::string_view digits, std::uint64_t& out) noexcept {
  if (digits.empty() || digits.size() > 20 || (digits.front() == '0' && digits.size() > 1)) return false;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (kMax - digit) / 10) return false;
    value = value * 10 + digit;
  }
  out = value;
  return true;
}

// 1..12 without leading zeros.
bool ParseCar(std::string_view digits, int& out) noexcept {
  if (digits.empty() || digits.size() > 2 || digits.front() < '1' || digits.front() > '9') return false;
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > kMaxCar) return false;
  out = value;
  return true;
}

// The hello's text: printable ASCII, spaces inside only.
bool HelloText(std::string_view text) noexcept {
  if (text.empty() || text.front() == ' ' || text.back() == ' ') return false;
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

}  // namespace

Message Parse(std::string_view line) {
  if (line.starts_with(kHello)) {
    std::string_view rest = line.substr(kHello.size());
    if (rest.empty()) return Hello{};
    // The free text follows one space and may itself hold spaces.
    if (rest.front() != ' ' || !HelloText(rest.substr(1))) return Bad{};
    return Hello{std::string(rest.substr(1))};
  }
  if (line.starts_with("P ")) {
    const std::string_view fields = line.substr(2);
    const std::size_t space = fields.find(' ');
    if (space == std::string_view::npos) return Bad{};
    Pass pass;
    if (!ParseCar(fields.substr(0, space), pass.car) || !ParseMicros(fields.substr(space + 1), pass.micros)) {
      return Bad{};
    }
    return pass;
  }
  if (line.starts_with("H ")) {
    Heartbeat beat;
    if (!ParseMicros(line.substr(2), beat.micros)) return Bad{};
    return beat;
  }
  return Bad{};
}

}  // namespace decoder
