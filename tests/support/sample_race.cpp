// Writes one lively sample race into a folder through the program's own race
// control and writers: six cars under common timing for five minutes, laps
// that vary, a pit stop and a spin that change the order. The README's
// chart pictures are drawn from it.
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "events/event_types.h"
#include "race/race_harness.h"
#include "records/race_files.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sample_race FOLDER YYMMDD\n");
    return 64;
  }
  platform::PosixDirectoryLister lister;
  records::RaceFiles files(argv[1], lister);
  testing_support::RaceHarness h(&files);
  race::RaceControl& control = h.race;
  control.SetNumbering(argv[2], 1);
  const std::vector<int> cars = {1, 2, 4, 5, 8, 11};
  for (int n = 1; n <= 12; ++n) control.CheckBoxClick(n, std::find(cars.begin(), cars.end(), n) != cars.end());
  control.Setup().SetDescription(control.spanish(), "Resistencia GT, final A");
  control.RadioGroup2Click(0);  // five minutes
  control.RadioGroup1Click(1);  // common timing
  if (!control.Button1Click()) return 1;

  // Every car's crossings, then all of them in time order.
  std::mt19937 random(20261208);
  std::normal_distribution<double> noise(0.0, 0.25);
  struct Crossing {
    double at;
    int car;
  };
  std::vector<Crossing> crossings;
  const double pace[] = {14.9, 14.6, 15.2, 14.7, 15.5, 15.0};
  for (std::size_t i = 0; i < cars.size(); ++i) {
    double t = 2.0 + 0.4 * static_cast<double>(i);  // from the grid to the line
    for (int lap = 0; t < 330.0; ++lap) {
      crossings.push_back({t, cars[i]});
      double next = pace[i] + noise(random) + (lap > 10 ? 0.25 : 0.0);  // tyres wear
      if (cars[i] == 2 && lap == 8) next += 11.0;  // pit stop
      if (cars[i] == 5 && lap == 4) next += 4.5;   // a spin
      t += next;
    }
  }
  std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) { return a.at < b.at; });
  double now = 0.0;
  for (const Crossing& c : crossings) {
    h.Wait(c.at - now);
    now = c.at;
    control.FormKeyDown(race::kVkF1 - 1 + c.car);
    if (c.car == 2 && now > 100 && now < 160) control.EventButton(events::EventKind::Boxes, 2);
  }
  h.Wait(400.0 - now);
  control.Timer1Timer();
  return 0;
}
