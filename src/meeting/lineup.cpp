#include "meeting/lineup.h"
#include "records/cars.h"

#include <algorithm>
#include <array>

namespace meeting {
namespace {

std::uint64_t SplitMix64(std::uint64_t& state) noexcept {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// A number below `bound`, without the bias of a plain modulo.
std::uint64_t Below(std::uint64_t& state, std::uint64_t bound) noexcept {
  const std::uint64_t limit = ~std::uint64_t{0} - (~std::uint64_t{0} % bound);
  for (;;) {
    const std::uint64_t r = SplitMix64(state);
    if (r < limit) return r % bound;
  }
}

}  // namespace

std::vector<Heat> RotationHeats(const Meeting& meeting) {
  const auto& drivers = meeting.entrants;
  const int d = static_cast<int>(drivers.size());
  const int lanes = std::clamp(meeting.rotation.lanes, 1, records::kCars);
  if (d == 0) return {};
  const int count = std::max(d, lanes);
  std::vector<Heat> heats;
  heats.reserve(static_cast<std::size_t>(count));
  for (int h = 0; h < count; ++h) {
    Heat heat;
    heat.slot = HeatSlot{h + 1, Stage::Rotation, h + 1, 0, meeting.rotation.stintMinutes, std::min(d, lanes), true};
    for (int l = 0; l < lanes; ++l) {
      if (d >= lanes) {
        heat.seats.push_back({l + 1, drivers[static_cast<std::size_t>((h + l * d / lanes) % d)]});
      } else {
        // Driver i takes lane (i + h) mod L: every lane once in L heats.
        for (int i = 0; i < d; ++i) {
          if ((i + h) % lanes == l) heat.seats.push_back({l + 1, drivers[static_cast<std::size_t>(i)]});
        }
      }
    }
    heats.push_back(std::move(heat));
  }
  return heats;
}

std::vector<Seat> SeatGrid(const std::vector<DriverId>& given, const std::map<DriverId, int>& raceNumbers) {
  std::vector<DriverId> grid;
  for (DriverId d : given) {
    if (std::find(grid.begin(), grid.end(), d) == grid.end()) grid.push_back(d);
  }
  const std::size_t n = std::min<std::size_t>(grid.size(), records::kCars);
  std::array<bool, records::kCars + 1> taken{};
  std::vector<int> car(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const auto own = raceNumbers.find(grid[i]);
    if (own != raceNumbers.end() && records::IsCar(own->second) && !taken[static_cast<std::size_t>(own->second)]) {
      car[i] = own->second;
      taken[static_cast<std::size_t>(own->second)] = true;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (car[i] == 0 && !taken[i + 1]) {
      car[i] = static_cast<int>(i) + 1;
      taken[i + 1] = true;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (int c = 1; car[i] == 0; ++c) {
      if (!taken[static_cast<std::size_t>(c)]) {
        car[i] = c;
        taken[static_cast<std::size_t>(c)] = true;
      }
    }
  }
  std::vector<Seat> seats;
  for (std::size_t i = 0; i < n; ++i) seats.push_back({car[i], grid[i]});
  std::sort(seats.begin(), seats.end(), [](const Seat& a, const Seat& b) { return a.car < b.car; });
  return seats;
}

std::map<DriverId, int> RaceNumbers(const std::vector<Driver>& roster) {
  std::map<DriverId, int> numbers;
  for (const auto& d : roster) {
    if (d.number) numbers.emplace(d.id, *d.number);
  }
  return numbers;
}

std::vector<DriverId> DrawOrder(const std::vector<DriverId>& entrants, std::uint64_t seed) {
  std::vector<DriverId> order = entrants;
  std::uint64_t state = seed;
  for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[Below(state, i)]);
  return order;
}

std::vector<int> GroupSizes(int drivers, int most) {
  if (drivers <= 0 || most <= 0) return {};
  const int groups = (drivers + most - 1) / most;
  std::vector<int> sizes(static_cast<std::size_t>(groups), drivers / groups);
  for (int k = 0; k < drivers % groups; ++k) ++sizes[static_cast<std::size_t>(groups - 1 - k)];
  return sizes;
}

}  // namespace meeting
