#pragma once
// A passes-file record as the reader gives it, for tests that build races
// pass by pass.

#include <cstdint>

#include "records/readers.h"

namespace testing_support {

inline records::TPaso MakePass(int pass, int car, int lap, double seconds) {
  records::TPaso p;
  p.pass = static_cast<std::uint16_t>(pass);
  p.car = static_cast<std::uint8_t>(car);
  p.lap = static_cast<std::uint16_t>(lap);
  p.lapTime = seconds;
  return p;
}

}  // namespace testing_support
