#pragma once
// UTF-8 helpers for the texts a director types or a roster file brings:
// validity, length in characters, tidy blanks and a key for matching names.

#include <cstddef>
#include <string>
#include <string_view>

namespace meeting {

// Well-formed UTF-8: no stray or overlong bytes, no surrogates, nothing past U+10FFFF.
bool IsUtf8(std::string_view text) noexcept;

// Characters (code points) of a UTF-8 text.
std::size_t CharCount(std::string_view utf8) noexcept;

// The first `count` characters of a UTF-8 text.
std::string FirstChars(std::string_view utf8, std::size_t count);

// Runs of blanks, TABs, CRs and LFs become one blank; none at either end.
std::string Tidy(std::string_view text);

// Whether a text holds a control character (C0, DEL or C1) other than a blank.
bool HasControl(std::string_view utf8) noexcept;

// The key two names match by: tidied, ASCII and Latin-1 letters in lower
// case ("JOSÉ  garcía" and "José García" match). Accents stay significant.
std::string MatchKey(std::string_view utf8);

}  // namespace meeting
