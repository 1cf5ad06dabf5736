// Standings are recomputed whole at every result; these bounds catch an
// algorithm that grows out of hand (the figures themselves are printed).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>

#include "meeting/heat_setup.h"
#include "meeting/schedule.h"
#include "meeting/season.h"
#include "meeting/standings.h"

namespace {

using meeting::DriverId;
using meeting::Heat;
using meeting::HeatResult;
using meeting::Meeting;

struct Played {
  Meeting meeting;
  std::vector<Heat> heats;
  std::vector<HeatResult> results;
};

// Runs a meeting to its end with made-up but varied laps and times.
Played Play(const Meeting& m, const std::vector<meeting::Driver>& roster) {
  Played p{m, {}, {}};
  for (auto ready = meeting::ReadyHeats(m, roster, {}, {}); !ready.empty(); ready = meeting::ReadyHeats(m, roster, p.heats, p.results)) {
    for (auto& heat : ready) {
      HeatResult r{heat.slot.number, "26120601", {}};
      for (const auto& s : heat.seats) {
        const auto mix = static_cast<int>((s.driver * 7919 + heat.slot.number * 104729) % 997);
        r.cars.push_back({s.car, 20 + mix % 9, 300000 + mix * 13, 11000 + mix, meeting::CarStatus::Classified});
      }
      p.results.push_back(std::move(r));
      p.heats.push_back(std::move(heat));
    }
  }
  return p;
}

// The median of several timings of `work`, in milliseconds.
template <typename Work>
double MedianMillis(Work&& work) {
  std::vector<double> times;
  for (int i = 0; i < 9; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::nth_element(times.begin(), times.begin() + 4, times.end());
  return times[4];
}

Meeting Entered(meeting::Format format, int drivers, DriverId first) {
  Meeting m;
  m.name = "Club night";
  m.className = "GT";
  m.format = format;
  m.rotation = {12, 4};
  m.qualifying = {5, 5, 12, meeting::FirstRoundOrder::Random, 9, meeting::QualifyingRanking::BestRound, false, 12, 2, 5};
  for (int i = 0; i < drivers; ++i) m.entrants.push_back(first + i);
  return m;
}

TEST(MeetingPerformance, StandingsOfSixtyHeatsUnderTwentyMilliseconds) {
  const Played rotation = Play(Entered(meeting::Format::Rotation, 60, 1), {});
  ASSERT_EQ(rotation.heats.size(), 60u);
  const Played finals = Play(Entered(meeting::Format::QualifyingFinals, 110, 1), {});
  ASSERT_GE(finals.heats.size(), 60u);
  for (const Played* p : {&rotation, &finals}) {
    const double ms = MedianMillis([&] {
      const auto c = meeting::MeetingClassification(p->meeting, p->heats, p->results);
      ASSERT_TRUE(c.complete);
    });
    std::cout << p->heats.size() << " heats: standings in " << ms << " ms\n";
    EXPECT_LT(ms, 20.0);
  }
}

TEST(MeetingPerformance, EverythingTheWindowOpensWithUnderTwoHundredMilliseconds) {
  std::vector<meeting::Driver> roster;
  for (DriverId id = 1; id <= 1000; ++id) roster.push_back({id, "Driver " + std::to_string(id), "D" + std::to_string(id), {}, "GT", true});
  std::vector<Played> played;
  for (int i = 0; i < 50; ++i) {
    const auto format = i % 2 ? meeting::Format::Rotation : meeting::Format::QualifyingFinals;
    played.push_back(Play(Entered(format, 24, 1 + (i * 37) % 970), roster));
    played.back().meeting.id = i + 1;
    played.back().meeting.date = {2026, 1 + i % 12, 1 + i % 28};
  }
  const double ms = MedianMillis([&] {
    const auto index = meeting::IndexOf(roster);
    std::vector<meeting::SeasonMeeting> season;
    std::size_t lines = 0;
    for (const auto& p : played) {
      season.push_back({p.meeting.id, p.meeting.date, p.meeting.className,
                        meeting::MeetingClassification(p.meeting, p.heats, p.results)});
      lines += meeting::Outline(p.meeting).size();
      for (const auto& heat : p.heats) lines += meeting::LineUp(heat, index).size();
    }
    const auto table = meeting::Season(season, "GT", 2026, 8);
    ASSERT_GT(table.rows.size(), 500u);
    ASSERT_GT(lines, 1000u);
  });
  std::cout << "50 meetings over a roster of 1000: classifications, line-ups and the season in " << ms << " ms\n";
  EXPECT_LT(ms, 200.0);
}

}  // namespace
