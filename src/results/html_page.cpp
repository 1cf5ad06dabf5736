#include "results/html_page.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "results/laps.h"
#include "results/tables.h"
#include "results/wording.h"

namespace results {

namespace {

std::string Element(std::string_view tag, std::string_view text, std::string_view attributes = {}) {
  std::string out = "<";
  out += tag;
  if (!attributes.empty()) {
    out += ' ';
    out += attributes;
  }
  out += '>';
  out += HtmlEscaped(text);
  out += "</";
  out += tag;
  out += '>';
  return out;
}

std::string CarCell(int car) {
  return "<td class=\"car\"><span class=\"swatch\" style=\"color:" + CarColour(car) + "\">&#9632;</span>" +
         std::to_string(car) + "</td>";
}

// A table's opening and its heading row, which a printed table repeats on
// every page it runs over.
// Columns from `textFrom` on, and the column `textAt`, hold texts and stand
// to the left.
std::string TableHead(const std::vector<std::string>& headings, std::size_t textFrom = SIZE_MAX,
                      std::size_t textAt = SIZE_MAX) {
  std::string out = "<table>\n<thead><tr>";
  for (std::size_t i = 0; i < headings.size(); ++i) {
    const bool text = i >= textFrom || i == textAt;
    out += text ? Element("th", headings[i], "class=\"text\"") : Element("th", headings[i]);
  }
  return out + "</tr></thead>\n<tbody>\n";
}

constexpr const char* kStyle = R"(body{font-family:sans-serif;margin:1em;color:#111;background:#fff}
h1{font-size:1.6em;margin:0 0 .2em}h2{font-size:1.25em;margin:1em 0 .3em}p{margin:.2em 0}
table{border-collapse:collapse;margin:.5em 0}th,td{border:1px solid #bbb;padding:.2em .6em;text-align:right}
th{background:#eee;white-space:nowrap}td.car,td.text,th.text{text-align:left}td.car{white-space:nowrap}
.swatch{margin-right:.3em}
td.best{font-weight:bold;background:#fff3b0}figure{margin:1em 0}figure img{max-width:100%;height:auto}
.note{color:#8a4b00})";

// Qt's rich text takes borders and padding from the table itself.
constexpr const char* kPrintStyle = R"(h1{font-size:17pt;margin-bottom:6px}h2{font-size:13pt;margin-top:14px;margin-bottom:4px}p{margin:2px 0}
table{border-collapse:collapse;border-color:#999;margin-top:4px}th{background-color:#e8e8e8;text-align:right;white-space:nowrap}
td{text-align:right}td.car,td.text,th.text{text-align:left}td.best{font-weight:bold;background-color:#fff3b0}
.note{color:#8a4b00})";

// Everything under the title: the record's lines, notes, the tables.
std::string Body(const RaceSheet& sheet, bool spanish) {
  const bool es = spanish;
  std::string page;
  page += Element("p", words::kDate.Pick(es) + DayText(sheet.name.day(), es)) + "\n";
  if (sheet.hasClassification) {
    page += Element("p", sheet.classification.startLine) + "\n";
    if (!sheet.classification.finishLine.empty()) page += Element("p", sheet.classification.finishLine) + "\n";
  }
  if (sheet.Unfinished()) page += Element("p", words::kUnfinished.Pick(es), "class=\"note\"") + "\n";
  if (!sheet.problems.empty()) {
    page += Element("p", words::kProblemsIntro.Pick(es), "class=\"note\"");
    page += "\n<ul class=\"note\">\n";
    for (const auto& problem : sheet.problems) page += Element("li", ProblemText(problem, es)) + "\n";
    page += "</ul>\n";
  }

  // The classification, with the lap on which each car turned its fastest.
  const std::vector<int> cars = sheet.Cars();
  const std::vector<CarLaps> laps = LapsOf(sheet);
  std::map<int, const CarLaps*> lapsOfCar;
  for (const auto& car : laps) lapsOfCar[car.car] = &car;
  page += Element("h2", words::kClassification.Pick(es)) + "\n";
  // A heat's race names each car's driver beside it.
  const bool named = !sheet.drivers.empty();
  std::vector<std::string> headings{words::kPosition.Pick(es), words::kCar.Pick(es)};
  if (named) headings.emplace_back(words::kDriver.Pick(es));
  for (const Words& heading : {words::kLaps, words::kTotalTime, words::kFastLap, words::kOnLap}) {
    headings.emplace_back(heading.Pick(es));
  }
  page += TableHead(headings, SIZE_MAX, named ? 2 : SIZE_MAX);
  for (const auto& row : sheet.classification.rows.items) {
    std::string onLap;
    if (auto it = lapsOfCar.find(row.car); it != lapsOfCar.end() && it->second->fastest) {
      onLap = std::to_string(it->second->laps[*it->second->fastest].lap);
    }
    page += "<tr>" + Element("td", std::to_string(row.position)) + CarCell(row.car) +
            (named ? Element("td", sheet.DriverOf(row.car), "class=\"text\"") : std::string()) +
            Element("td", std::to_string(row.laps)) + Element("td", row.total) +
            Element("td", SecondsForPeople(row.fastestLap, es)) + Element("td", onLap) + "</tr>\n";
  }
  if (sheet.classification.rows.items.empty()) {
    const std::string span = "colspan=\"" + std::to_string(headings.size()) + "\" class=\"text\"";
    page += "<tr>" + Element("td", words::kNoClassification.Pick(es), span) + "</tr>\n";
  }
  page += "</tbody>\n</table>\n";

  // The lap table: a row per lap, a column per car, each car's fastest marked.
  int lastLap = 0;
  for (const auto& car : laps) {
    if (car.partialFirst) lastLap = std::max(lastLap, car.partialFirst->lap);
    for (const auto& lap : car.laps) lastLap = std::max(lastLap, lap.lap);
  }
  page += Element("h2", words::kLaps.Pick(es)) + "\n";
  if (lastLap == 0) {
    page += Element("p", words::kNoLapCompleted.Pick(es)) + "\n";
  } else {
    std::vector<std::string> lapHeadings{words::kLap.Pick(es)};
    for (const auto& car : laps) {
      const std::string withDriver = CarWithDriver(car.car, sheet.drivers);
      lapHeadings.push_back(withDriver.empty() ? Filled(words::kCarNumbered.Pick(es), std::to_string(car.car))
                                               : withDriver);
    }
    page += TableHead(lapHeadings);
    for (int n = 1; n <= lastLap; ++n) {
      page += "<tr>" + Element("td", std::to_string(n));
      for (const auto& car : laps) {
        std::string text;
        bool best = false;
        if (car.partialFirst && car.partialFirst->lap == n) text = SecondsForPeople(car.partialFirst->seconds, es) + "*";
        for (std::size_t i = 0; i < car.laps.size(); ++i) {
          if (car.laps[i].lap != n) continue;
          text = SecondsForPeople(car.laps[i].seconds, es);
          best = car.fastest == i;
        }
        page += best ? Element("td", text, "class=\"best\"") : Element("td", text);
      }
      page += "</tr>\n";
    }
    page += "</tbody>\n</table>\n";
    if (sheet.commonTiming) page += Element("p", words::kFirstLapNote.Pick(es)) + "\n";
  }

  // The events, manual texts in full.
  page += Element("h2", words::kEvents.Pick(es)) + "\n";
  if (sheet.events.empty()) {
    page += Element("p", words::kNoEvents.Pick(es)) + "\n";
  } else {
    page += TableHead({words::kEvent.Pick(es), words::kCar.Pick(es), words::kLap.Pick(es), words::kTime.Pick(es),
                       words::kType.Pick(es), words::kDetail.Pick(es)},
                      4);
    for (const auto& event : sheet.events) {
      const auto seconds = SecondsOf(event.time);
      page += "<tr>" + Element("td", std::to_string(event.number)) +
              (event.hasCar ? CarCell(event.car) : Element("td", "")) +
              Element("td", event.hasLap ? std::to_string(event.lap) : std::string()) +
              Element("td", seconds ? SecondsForPeople(*seconds, es) : event.time) + Element("td", event.type, "class=\"text\"") +
              Element("td", event.detail, "class=\"text\"") + "</tr>\n";
    }
    page += "</tbody>\n</table>\n";
  }
  return page;
}

// A whole page for a browser: the title, the body, then the pictures.
std::string Standalone(const std::string& title, const std::string& body, bool spanish,
                       const std::vector<PageImage>& images) {
  std::string page = "<!DOCTYPE html>\n<html lang=\"";
  page += spanish ? "es" : "en";
  page += "\">\n<head>\n<meta charset=\"utf-8\">\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  page += Element("title", title) + "\n<style>\n" + kStyle + "\n</style>\n</head>\n<body>\n";
  page += Element("h1", title) + "\n";
  page += body;
  for (const auto& image : images) {
    page += "<figure><img src=\"data:" + image.mime + ";base64," + Base64(image.bytes) + "\" alt=\"" +
            HtmlEscaped(image.caption) + "\">" + Element("figcaption", image.caption) + "</figure>\n";
  }
  page += "</body>\n</html>\n";
  return page;
}

// The same for Qt's rich text, which draws cell borders and padding from
// the table's own attributes.
std::string Printed(const std::string& title, const std::string& body) {
  std::string out;
  const std::string table = "<table>";
  std::size_t from = 0;
  for (std::size_t at = body.find(table); at != std::string::npos; at = body.find(table, from)) {
    out.append(body, from, at - from);
    out += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">";
    from = at + table.size();
  }
  out.append(body, from);
  return "<html><head><style>" + std::string(kPrintStyle) + "</style></head><body>" + Element("h1", title) + out +
         "</body></html>";
}

std::string TablesBody(const std::vector<std::string>& lines, const std::vector<TableSection>& sections, bool spanish) {
  std::string body;
  for (const auto& line : lines) body += Element("p", line) + "\n";
  for (const auto& section : sections) {
    if (section.table == nullptr) continue;
    body += Element("h2", section.heading) + "\n";
    // A column of texts stands to the left, heading and all.
    body += "<table>\n<thead><tr>";
    for (std::size_t c = 0; c < section.table->columns.size(); ++c) {
      const bool text = std::any_of(section.table->rows.begin(), section.table->rows.end(), [c](const auto& row) {
        return c < row.size() && row[c].kind == Cell::Kind::Text;
      });
      body += Element("th", section.table->columns[c].label, text ? "class=\"text\"" : "");
    }
    body += "</tr></thead>\n<tbody>\n";
    for (const auto& row : section.table->rows) {
      body += "<tr>";
      for (const auto& cell : row) {
        body += cell.kind == Cell::Kind::Text ? Element("td", cell.text, "class=\"text\"")
                                              : Element("td", ShownText(cell, spanish));
      }
      body += "</tr>\n";
    }
    body += "</tbody></table>\n";
  }
  return body;
}

}  // namespace

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default:
        // Control characters a hand edit may leave have no place in a page.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
          out += ' ';
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[v >> 18 & 63];
    out += kDigits[v >> 12 & 63];
    out += kDigits[v >> 6 & 63];
    out += kDigits[v & 63];
  }
  if (i < bytes.size()) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kDigits[v >> 18 & 63];
    out += kDigits[v >> 12 & 63];
    out += i + 1 < bytes.size() ? kDigits[v >> 6 & 63] : '=';
    out += '=';
  }
  return out;
}

std::string PageTitle(const RaceSheet& sheet, bool spanish) {
  const std::string description = sheet.Description();
  return Filled(words::kRace.Pick(spanish), sheet.name.Text()) + (description.empty() ? "" : " · " + description);
}

std::string ResultsPage(const RaceSheet& sheet, bool spanish, const std::vector<PageImage>& images) {
  return Standalone(PageTitle(sheet, spanish), Body(sheet, spanish), spanish, images);
}

std::string PrintedBody(const RaceSheet& sheet, bool spanish) {
  return Printed(PageTitle(sheet, spanish), Body(sheet, spanish));
}

std::string TablesPage(const std::string& title, const std::vector<std::string>& lines,
                       const std::vector<TableSection>& sections, bool spanish) {
  return Standalone(title, TablesBody(lines, sections, spanish), spanish, {});
}

std::string PrintedTables(const std::string& title, const std::vector<std::string>& lines,
                          const std::vector<TableSection>& sections, bool spanish) {
  return Printed(title, TablesBody(lines, sections, spanish));
}

}  // namespace results
