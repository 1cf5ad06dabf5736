#include "platform/link_choice.h"

#include <charconv>

namespace platform {
namespace {

std::optional<int> Number(std::string_view text, int lowest, int highest) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<LinkChoice> ParseLinkChoice(std::string_view text) {
  LinkChoice choice;
  if (text == "none") return choice;
  if (text.substr(0, 4) == "tcp:") {
    const std::string_view rest = text.substr(4);
    const auto colon = rest.rfind(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    const auto port = Number(rest.substr(colon + 1), 1, 65535);
    if (!port) return std::nullopt;
    std::string_view host = rest.substr(0, colon);
    // An IPv6 address comes in brackets: tcp:[::1]:4000.
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    choice.kind = LinkChoice::Kind::kTcp;
    choice.host = std::string(host);
    choice.port = *port;
    return choice;
  }
  if (text.empty() || text.front() != '/') return std::nullopt;
  choice.kind = LinkChoice::Kind::kSerial;
  const auto at = text.rfind('@');
  if (at == std::string_view::npos) {
    choice.device = std::string(text);
    return choice;
  }
  const auto baud = Number(text.substr(at + 1), 50, 4000000);
  if (!baud || at <= 1) return std::nullopt;
  choice.device = std::string(text.substr(0, at));
  choice.baud = *baud;
  return choice;
}

std::string LinkChoiceText(const LinkChoice& choice) {
  switch (choice.kind) {
    case LinkChoice::Kind::kNone:
      return "none";
    case LinkChoice::Kind::kSerial:
      return choice.device + "@" + std::to_string(choice.baud);
    case LinkChoice::Kind::kTcp: {
      const bool v6 = choice.host.find(':') != std::string::npos;
      return "tcp:" + (v6 ? "[" + choice.host + "]" : choice.host) + ":" + std::to_string(choice.port);
    }
  }
  return "none";
}

}  // namespace platform
