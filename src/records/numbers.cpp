#include "records/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

namespace records {

namespace {

bool Digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The common case of every time the program writes, such as 21,532: digits,
// a comma and up to a few decimals. The digits make an exact whole number
// and one division by an exact power of ten rounds correctly, so the value
// is the same as the general conversion gives.
std::optional<double> PlainDecimal(std::string_view text) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  std::uint64_t digits = 0;
  int count = 0;
  int decimals = -1;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      if (++count > 15) return std::nullopt;
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      if (decimals >= 0) ++decimals;
    } else if (c == ',' && decimals < 0) {
      decimals = 0;
    } else {
      return std::nullopt;
    }
  }
  if (count == 0 || decimals > 9) return std::nullopt;
  return static_cast<double>(digits) / kPowers[decimals < 0 ? 0 : decimals];
}

}  // namespace

std::optional<double> ParseCommaDecimal(std::string_view text) {
  if (const auto plain = PlainDecimal(text)) return plain;
  if (text.find('.') != std::string_view::npos) return std::nullopt;
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  if (const auto plain = PlainDecimal(text)) return plain;
  // The comma turned into a point only for from_chars, which ignores the locale.
  std::string copy(text);
  std::replace(copy.begin(), copy.end(), ',', '.');
  const char* first = copy.data();
  const char* last = first + copy.size();
  double v = 0.0;
  const auto [end, ec] = std::from_chars(first, last, v, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long long> ParseDurationMillis(std::string_view text) {
  long long hours = 0;
  const auto h = text.find("h ");
  if (h != std::string_view::npos) {
    if (h > 9 || !Digits(text.substr(0, h))) return std::nullopt;
    std::from_chars(text.data(), text.data() + h, hours);
    text.remove_prefix(h + 2);
  }
  // mm'ss"mmm
  if (text.size() != 9 || text[2] != '\'' || text[5] != '"') return std::nullopt;
  const std::string_view mm = text.substr(0, 2), ss = text.substr(3, 2), ms = text.substr(6, 3);
  if (!Digits(mm) || !Digits(ss) || !Digits(ms)) return std::nullopt;
  auto value = [](std::string_view d) {
    int v = 0;
    std::from_chars(d.data(), d.data() + d.size(), v);
    return v;
  };
  return ((hours * 60 + value(mm)) * 60 + value(ss)) * 1000LL + value(ms);
}

}  // namespace records
