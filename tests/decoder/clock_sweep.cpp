// Many seeded races per case through the clock map: the worst lap and
// absolute errors over all of them, and how many races had a lap off by
// more than a millisecond. The figures at the top of decoder/clock_map.h
// come from here.
//   clock_sweep [SEEDS [PPM HEARTBEATS_PER_SECOND WARM_UP_SECONDS]]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "gate_race.h"

int main(int argc, char* argv[]) {
  const int seeds = argc > 1 ? std::atoi(argv[1]) : 200;
  std::vector<gate_race::Race> cases = {{100, 1, 600, 0},  {-100, 1, 600, 0}, {100, 4, 300, 0},
                                        {-100, 4, 300, 0}, {100, 1, 570, 0},  {100, 4, 285, 0}};
  if (argc == 5) cases = {{std::atof(argv[2]), std::atof(argv[3]), std::atof(argv[4]), 0}};
  for (gate_race::Race race : cases) {
    double lap = 0, absolute = 0, late = 0;
    int over = 0;
    for (int seed = 1; seed <= seeds; ++seed) {
      race.seed = static_cast<std::uint64_t>(seed) * 7919;
      const gate_race::Outcome outcome = gate_race::RunRace(race);
      lap = std::max(lap, outcome.worstLapMs);
      absolute = std::max(absolute, outcome.worstAbsoluteMs);
      late = std::max(late, outcome.worstAbsoluteLateMs);
      if (outcome.worstLapMs >= 1.0 || !outcome.stampsInOrder) ++over;
    }
    std::printf(
        "%+5.0f ppm %g Hz warm-up %4.0f s: worst lap %.3f ms, races over 1 ms %d/%d, absolute %.2f ms (%.2f ms after "
        "30 min)\n",
        race.skewPpm, race.heartbeatsPerSecond, race.warmUpSeconds, lap, over, seeds, absolute, late);
  }
}
