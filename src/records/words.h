#pragma once
// The program's own words, each a Spanish/English pair, Spanish first. Every
// plain-C++ folder keeps a table of them (its texts.h or wording.h) and picks
// one with the language flag when it shows or writes a text; "%1" to "%3"
// stand for what Filled() puts in.

#include <string>
#include <string_view>

namespace records {

struct Words {
  const char* es;
  const char* en;
  constexpr const char* Pick(bool spanish) const noexcept { return spanish ? es : en; }
};

// The text with "%1", "%2", "%3" replaced by the arguments.
std::string Filled(std::string_view text, std::string_view first, std::string_view second = {},
                   std::string_view third = {});

}  // namespace records
