#include "records/words.h"

namespace records {

std::string Filled(std::string_view text, std::string_view first, std::string_view second, std::string_view third) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '3') {
      out += text[i + 1] == '1' ? first : text[i + 1] == '2' ? second : third;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace records
