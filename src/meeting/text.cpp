#include "meeting/text.h"

namespace meeting {
namespace {

bool IsBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsContinuation(unsigned char c) noexcept { return (c & 0xC0) == 0x80; }

}  // namespace

bool IsUtf8(std::string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1, cp = b & 0x1F, least = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2, cp = b & 0x0F, least = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3, cp = b & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (text.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if (!IsContinuation(c)) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::size_t CharCount(std::string_view utf8) noexcept {
  std::size_t count = 0;
  for (char c : utf8) {
    if (!IsContinuation(static_cast<unsigned char>(c))) ++count;
  }
  return count;
}

std::string FirstChars(std::string_view utf8, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (!IsContinuation(static_cast<unsigned char>(utf8[i])) && seen++ == count) return std::string(utf8.substr(0, i));
  }
  return std::string(utf8);
}

std::string Tidy(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool pendingBlank = false;
  for (char c : text) {
    if (IsBlank(c)) {
      pendingBlank = !out.empty();
      continue;
    }
    if (pendingBlank) out += ' ';
    pendingBlank = false;
    out += c;
  }
  return out;
}

bool HasControl(std::string_view utf8) noexcept {
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x20 || b == 0x7F) return true;
    // U+0080..U+009F are C2 80..C2 9F in UTF-8.
    if (b == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0 &&
        IsContinuation(static_cast<unsigned char>(utf8[i + 1]))) {
      return true;
    }
  }
  return false;
}

std::string MatchKey(std::string_view utf8) {
  std::string key = Tidy(utf8);
  for (std::size_t i = 0; i < key.size(); ++i) {
    auto& c = key[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    } else if (static_cast<unsigned char>(c) == 0xC3 && i + 1 < key.size()) {
      // U+00C0..U+00DE (but U+00D7, the multiplication sign) are C3 80..C3 9E.
      auto& next = key[i + 1];
      const auto n = static_cast<unsigned char>(next);
      if (n >= 0x80 && n <= 0x9E && n != 0x97) next = static_cast<char>(n + 0x20);
      ++i;
    }
  }
  return key;
}

}  // namespace meeting
