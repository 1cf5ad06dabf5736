#pragma once
// The gate's line protocol: a bounded splitter that cuts the byte stream into
// lines, and the parser that turns one line into a message.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "records/cars.h"

namespace decoder {

// A line is at most 64 bytes counting its LF; a CR right before the LF is
// part of those 64 bytes but not of the line's text.
inline constexpr std::size_t kMaxLineBytes = 64;
inline constexpr int kMaxCar = records::kCars;

// `TRELVIX-GATE 1 <text>`: sent on connection and after the gate's reset.
struct Hello {
  std::string text;
};
// `P <car> <micros>`: the car crossed the line at the gate's time `micros`.
struct Pass {
  int car = 0;
  std::uint64_t micros = 0;
};
// `H <micros>`: the gate is alive; sent at least once a second.
struct Heartbeat {
  std::uint64_t micros = 0;
};
// Anything else.
struct Bad {};

using Message = std::variant<Bad, Hello, Pass, Heartbeat>;

// One line's text, without CR LF, or the mark of a line too long to keep.
struct Line {
  std::string_view text;  // valid only during the call that hands it over
  bool tooLong = false;
};

// Cuts a byte stream into lines, holding at most one unfinished line of
// under 64 bytes between chunks. A line that grows past 64 bytes is handed
// over once, as too long, the moment it does; the rest of it up to its LF
// is skipped without being kept.
class LineSplitter final {
 public:
  // Calls onLine(Line) for every line completed by `bytes`, in order.
  template <typename OnLine>
  void Push(std::string_view bytes, OnLine&& onLine);
  // Forgets the unfinished line (a new connection).
  void Clear() noexcept {
    held_ = 0;
    skipping_ = false;
  }

 private:
  // The most a line may hold before its LF.
  static constexpr std::size_t kMaxHeld = kMaxLineBytes - 1;
  std::array<char, kMaxHeld> buffer_{};
  std::size_t held_ = 0;
  bool skipping_ = false;  // inside a too-long line, waiting for its LF
};

// The message of one line of text (without CR LF).
Message Parse(std::string_view line);

template <typename OnLine>
void LineSplitter::Push(std::string_view bytes, OnLine&& onLine) {
  while (!bytes.empty()) {
    const std::size_t lf = bytes.find('\n');
    const std::string_view part = bytes.substr(0, lf);
    const bool complete = lf != std::string_view::npos;
    if (!skipping_ && held_ + part.size() > kMaxHeld) {
      // Reported now rather than at its LF: a gate that never sends one
      // still shows up as bad lines.
      held_ = 0;
      skipping_ = true;
      onLine(Line{{}, true});
    }
    if (!complete) {
      if (!skipping_) {
        part.copy(buffer_.data() + held_, part.size());
        held_ += part.size();
      }
      return;
    }
    bytes.remove_prefix(lf + 1);
    if (skipping_) {
      skipping_ = false;
      continue;
    }
    std::string_view text = part;
    if (held_ > 0) {
      part.copy(buffer_.data() + held_, part.size());
      text = std::string_view(buffer_.data(), held_ + part.size());
      held_ = 0;
    }
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    onLine(Line{text, false});
  }
}

}  // namespace decoder
