#pragma once
// Where the track sensor's passes come from: no sensor, a serial port at a
// speed, or a gate on the network; as the connections window and the
// command line name it.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct LinkChoice {
  enum class Kind { kNone, kSerial, kTcp };
  Kind kind = Kind::kNone;
  std::string device;  // serial: /dev/ttyUSB0
  int baud = 115200;
  std::string host;    // TCP: the gate's name or address
  int port = 0;

  bool operator==(const LinkChoice&) const = default;
};

inline constexpr int kDefaultBaud = 115200;

// `--decoder` on the command line: "/dev/ttyUSB0", "/dev/ttyUSB0@115200",
// "tcp:HOST:PORT" or "none". Nothing when it is none of these.
std::optional<LinkChoice> ParseLinkChoice(std::string_view text);
// The same form back: what the connections window and the report show.
std::string LinkChoiceText(const LinkChoice& choice);

}  // namespace platform
