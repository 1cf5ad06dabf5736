#pragma once
// How many cars a race can have: car n is function key Fn, the gate's lane
// n and row n of every table, and the record files number cars 1 to kCars.

namespace records {

inline constexpr int kCars = 12;

inline constexpr bool IsCar(int car) noexcept { return car >= 1 && car <= kCars; }

}  // namespace records
