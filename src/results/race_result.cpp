#include "results/race_result.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "records/lines.h"
#include "records/numbers.h"
#include "results/wording.h"

namespace results {
namespace {

using records::Correction;
using Kind = records::Correction::Kind;

// A car's crossings from its passes, in pass order.
std::vector<Crossing> CrossingsOf(const std::vector<records::TPaso>& passes, int car, bool commonTiming) {
  std::vector<Crossing> out;
  for (const records::TPaso& p : passes) {
    if (p.car != car) continue;
    Crossing c;
    c.pass = p.pass;
    c.startsClock = !commonTiming && out.empty();
    if (!c.startsClock) {
      const auto total = records::ParseDurationMillis(p.total);
      if (!total || *total < 0) continue;
      c.atMs = *total;
      // Kept here until the laps are known: the lap as timed.
      c.lapMs = std::llround(std::clamp(p.lapTime, 0.0, 1e9) * 1000.0);
    }
    out.push_back(c);
  }
  // Pass order is time order; a hand edit may say otherwise.
  std::stable_sort(out.begin(), out.end(), [](const Crossing& a, const Crossing& b) {
    return a.startsClock != b.startsClock ? a.startsClock : a.atMs < b.atMs;
  });
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i].startsClock) continue;
    const long long lap = out[i].atMs - (i == 0 ? 0 : out[i - 1].atMs);
    // The lap as timed when it agrees with the totals, which are kept exactly.
    out[i].lapMs = std::llabs(out[i].lapMs - lap) <= 1 ? out[i].lapMs : lap;
  }
  return out;
}

int RawLaps(const CarResult& r) {
  int laps = 0;
  for (const Crossing& c : r.crossings) laps += c.startsClock ? 0 : 1;
  return laps;
}

std::vector<Crossing>::iterator FindPass(CarResult& r, int pass) {
  return std::find_if(r.crossings.begin(), r.crossings.end(), [pass](const Crossing& c) { return c.pass == pass; });
}

Refusal AddLap(CarResult& r, const Correction& c, long long minLapMs) {
  const auto it = FindPass(r, c.pass);
  if (it == r.crossings.end()) return Refusal::NoSuchPass;
  if (it->startsClock) return Refusal::ClockStart;
  const long long before = it->atMs - it->lapMs;
  const long long split = c.splitMs >= 0 ? c.splitMs : before + it->lapMs / 2;
  if (split <= before || split >= it->atMs) return Refusal::SplitOutside;
  if (split - before < minLapMs || it->atMs - split < minLapMs) return Refusal::ShorterThanMinimum;
  Crossing added;
  added.atMs = split;
  added.lapMs = split - before;
  it->lapMs = it->atMs - split;
  r.crossings.insert(it, added);
  return Refusal::None;
}

Refusal RemovePass(CarResult& r, const Correction& c) {
  const auto it = FindPass(r, c.pass);
  if (it == r.crossings.end()) return Refusal::NoSuchPass;
  if (it->startsClock) return Refusal::ClockStart;
  if (RawLaps(r) - 1 < r.penaltyLaps) return Refusal::NegativeLaps;
  // Its lap goes into the next one: no time is lost.
  const auto next = r.crossings.erase(it);
  if (next != r.crossings.end()) next->lapMs = next->atMs - (next == r.crossings.begin() ? 0 : std::prev(next)->atMs);
  return Refusal::None;
}

Refusal Apply(CarResult& r, const Correction& c, long long minLapMs) {
  switch (c.kind) {
    case Kind::AddLap: return AddLap(r, c, minLapMs);
    case Kind::RemovePass: return RemovePass(r, c);
    case Kind::TimePenalty:
      r.penaltyMs = std::min(r.penaltyMs + c.penaltyMs, 100 * records::kLongestPenaltyMs);
      return Refusal::None;
    case Kind::LapPenalty:
      if (RawLaps(r) - r.penaltyLaps - c.laps < 0) return Refusal::NegativeLaps;
      r.penaltyLaps += c.laps;
      return Refusal::None;
    case Kind::Disqualify:
      if (r.disqualified) return Refusal::AlreadyDisqualified;
      r.disqualified = true;
      return Refusal::None;
    case Kind::Undo: return Refusal::None;
  }
  return Refusal::None;
}

// Laps, total and fastest lap from the crossings.
void Sum(CarResult& r, bool commonTiming) {
  r.laps = std::max(0, RawLaps(r) - r.penaltyLaps);
  r.totalMs = (r.crossings.empty() ? 0 : r.crossings.back().atMs) + r.penaltyMs;
  r.bestLapMs = 0;
  int lap = 0;
  for (const Crossing& c : r.crossings) {
    if (c.startsClock) continue;
    ++lap;
    // Under common timing the first lap runs from the start button: it is no full lap.
    if (commonTiming && lap == 1) continue;
    if (r.bestLapMs == 0 || c.lapMs < r.bestLapMs) r.bestLapMs = c.lapMs;
  }
}

}  // namespace

RaceResult ComputeResult(const RaceInput& input) {
  RaceResult result;
  for (const int car : input.cars) {
    if (car < 1 || car > 12) continue;
    if (std::any_of(result.rows.begin(), result.rows.end(), [car](const CarResult& r) { return r.car == car; })) continue;
    CarResult r;
    r.car = car;
    r.crossings = CrossingsOf(input.passes, car, input.commonTiming);
    result.rows.push_back(std::move(r));
  }
  // The corrections in line order; an undo takes back an earlier one not yet undone.
  for (const records::TInci& line : input.events) {
    if (!records::IsCorrectionCode(line.type)) continue;
    const auto c = records::ParseCorrection(line);
    if (!c) continue;
    Corrected entry;
    entry.correction = *c;
    if (c->kind == Kind::Undo) {
      const auto target = std::find_if(result.corrections.begin(), result.corrections.end(), [&](const Corrected& e) {
        return e.correction.number == c->undone && e.correction.kind != Kind::Undo && !e.undone;
      });
      if (target == result.corrections.end() || target->correction.car != c->car) {
        entry.refusal = Refusal::NoSuchCorrection;
      } else {
        target->undone = true;
      }
    }
    result.corrections.push_back(std::move(entry));
  }
  for (Corrected& e : result.corrections) {
    if (e.correction.kind == Kind::Undo || e.undone) continue;
    const auto row = std::find_if(result.rows.begin(), result.rows.end(),
                                  [&](const CarResult& r) { return r.car == e.correction.car; });
    e.refusal = row == result.rows.end() ? Refusal::NotRacing : Apply(*row, e.correction, input.minLapMs);
    result.corrected = result.corrected || e.refusal == Refusal::None;
  }
  for (CarResult& r : result.rows) Sum(r, input.commonTiming);
  // More laps first; the same laps, the shorter time; a disqualified car
  // last. Anything else keeps the order given.
  std::stable_sort(result.rows.begin(), result.rows.end(), [](const CarResult& a, const CarResult& b) {
    if (a.disqualified != b.disqualified) return b.disqualified;
    if (a.laps != b.laps) return a.laps > b.laps;
    return a.laps > 0 && a.totalMs < b.totalMs;
  });
  for (std::size_t i = 0; i < result.rows.size(); ++i) result.rows[i].position = static_cast<int>(i + 1);
  return result;
}

Refusal Check(const RaceInput& input, const records::Correction& proposed) {
  std::vector<records::TInci> events = input.events;
  int last = 0;
  for (const auto& e : events) last = std::max<int>(last, e.number);
  records::Correction c = proposed;
  c.number = std::min(last + 1, 65535);
  records::TInci line;
  line.number = static_cast<std::uint16_t>(c.number);
  line.hasCar = true;
  line.car = static_cast<std::uint8_t>(c.car);
  line.type = records::CodeOf(c.kind);
  line.hasDetail = true;
  line.detail = records::CorrectionAction(c);
  if (!records::ParseCorrection(line)) return Refusal::NoSuchCorrection;
  events.push_back(std::move(line));
  const RaceInput with{input.passes, events, input.cars, input.commonTiming, input.minLapMs};
  const RaceResult result = ComputeResult(with);
  return result.corrections.empty() ? Refusal::NoSuchCorrection : result.corrections.back().refusal;
}

std::string RefusalText(Refusal refusal, bool spanish) {
  using namespace words;
  switch (refusal) {
    case Refusal::None: return {};
    case Refusal::NotRacing: return kRefusedNotRacing.Pick(spanish);
    case Refusal::NoSuchPass: return kRefusedNoSuchPass.Pick(spanish);
    case Refusal::ClockStart: return kRefusedClockStart.Pick(spanish);
    case Refusal::SplitOutside: return kRefusedSplitOutside.Pick(spanish);
    case Refusal::ShorterThanMinimum: return kRefusedShorterThanMinimum.Pick(spanish);
    case Refusal::NegativeLaps: return kRefusedNegativeLaps.Pick(spanish);
    case Refusal::AlreadyDisqualified: return kRefusedAlreadyDisqualified.Pick(spanish);
    case Refusal::NoSuchCorrection: return kRefusedNoSuchCorrection.Pick(spanish);
  }
  return {};
}

std::vector<int> SuggestedDoubleLaps(const CarResult& car) {
  std::vector<long long> laps;
  for (const Crossing& c : car.crossings) {
    if (!c.startsClock && c.lapMs > 0) laps.push_back(c.lapMs);
  }
  if (laps.size() < 3) return {};
  std::vector<long long> sorted = laps;
  std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2), sorted.end());
  const long long median = sorted[sorted.size() / 2];
  std::vector<int> passes;
  for (const Crossing& c : car.crossings) {
    if (!c.startsClock && c.pass > 0 && c.lapMs * 10 > median * 16) passes.push_back(c.pass);
  }
  return passes;
}

std::vector<std::string> ClassificationRows(const RaceResult& result) {
  std::vector<std::string> rows;
  for (const CarResult& r : result.rows) {
    rows.push_back(records::ClassificationRow(r.position, r.car, r.laps,
                                              r.disqualified ? std::string("DSQ") : DurationText(r.totalMs),
                                              records::SecondsText(r.bestLapMs)));
  }
  return rows;
}

std::vector<records::TLClasif> ClassificationRecords(const RaceResult& result) {
  std::vector<records::TLClasif> rows;
  for (const CarResult& r : result.rows) {
    records::TLClasif row;
    row.position = static_cast<std::uint8_t>(r.position);
    row.car = static_cast<std::uint8_t>(r.car);
    row.laps = static_cast<std::uint16_t>(std::min(r.laps, 65535));
    row.total = r.disqualified ? std::string("DSQ") : DurationText(r.totalMs);
    row.fastestLap = static_cast<double>(r.bestLapMs) / 1000.0;
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace results
