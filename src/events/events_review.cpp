#include "events/events_review.h"

#include "records/browser_model.h"
#include "records/cp1252.h"
#include "records/words.h"

#include <cctype>
#include <cstdio>
#include <utility>

namespace events {

namespace {

constexpr records::Words kEventsCount{"Incidencias: ", "Events: "};
constexpr records::Words kEventsTitle{"Incidencias ", "Events "};

using records::RightAligned;

std::string Padded(const char* format, long long value) { return records::PaddedNumber(format, value); }

}  // namespace

bool MustComeBefore(const records::TInci& b, const records::TInci& a, InciOrder order) {
  switch (order) {
    case InciOrder::ByEvent:
      return b.number < a.number;
    case InciOrder::ByCar:
      if (a.hasCar && b.hasCar) return b.car < a.car || (b.car == a.car && b.number < a.number);
      return !a.hasCar && b.hasCar;
    case InciOrder::ByType:
      // Byte by byte as the codes stand in the file (Windows-1252, not the
      // UTF-8 they are read into); std::string compares unsigned bytes, a
      // prefix first.
      if (b.type != a.type) return records::Utf8ToCp1252(b.type) < records::Utf8ToCp1252(a.type);
      if (b.car != a.car) return b.car < a.car;
      return b.number < a.number;
  }
  return false;
}

void OrderInci(std::vector<records::TInci>& list, InciOrder order) {
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    for (std::size_t j = i + 1; j < list.size(); ++j) {
      if (MustComeBefore(list[j], list[i], order)) std::swap(list[i], list[j]);
    }
  }
}

std::array<std::string, 6> InciCells(const records::TInci& e) {
  return {Padded("%4lld", e.number), e.hasCar ? Padded("%2lld", e.car) : std::string("--"),
          e.hasLap ? Padded("%5lld", e.lap) : std::string("--"), RightAligned(e.time, 11), RightAligned(e.type, 5),
          e.hasDetail ? std::string("*") : std::string(" ")};
}

std::array<std::string, 6> InciHeadings(bool spanish) {
  if (spanish) return {"Inc.", "C.", "Vuelta", "T. total", "Tipo", "Det."};
  return {"Event", "C.", "Lap", "Total t.", "Type", "Det."};
}

std::array<std::string, 3> InciOrderCaptions(bool spanish) {
  if (spanish) return {"Por incidencia", "Por coche", "Por tipo"};
  return {"By event", "By car", "By type"};
}

std::string InciCountText(bool spanish, std::size_t count) {
  return kEventsCount.Pick(spanish) + std::to_string(count);
}

std::string InciReportTitle(bool spanish, InciOrder order) {
  std::string caption = InciOrderCaptions(spanish)[static_cast<std::size_t>(order)];
  for (char& c : caption) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return kEventsTitle.Pick(spanish) + caption;
}

std::string InciReportHeading(bool spanish) {
  const auto headings = InciHeadings(spanish);
  std::string line;
  for (std::size_t c = 0; c < 5; ++c) line += headings[c] + "\t";
  return line;
}

std::vector<std::string> InciReportRows(const std::vector<records::TInci>& list) {
  std::vector<std::string> rows;
  rows.reserve(list.size());
  for (const auto& e : list) {
    const auto cells = InciCells(e);
    std::string line;
    for (std::size_t c = 0; c < 5; ++c) line += cells[c] + "\t";
    rows.push_back(std::move(line));
  }
  return rows;
}

int InciGridHeight(int rowCount, int top, int windowHeight) {
  constexpr int kRow = 14;
  const int wanted = 2 * kRow + 3 + rowCount * kRow / 4 * 4;
  const int fits = (windowHeight - top - 20) / kRow * kRow;
  return wanted > fits ? fits : wanted;
}

}  // namespace events
