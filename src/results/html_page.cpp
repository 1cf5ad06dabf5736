#include "results/html_page.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "records/browser_model.h"
#include "results/csv.h"
#include "results/laps.h"

namespace results {

namespace {

std::string Seconds(double seconds) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", seconds);
  std::string text = buffer;
  for (char& c : text) {
    if (c == '.') c = ',';
  }
  return text;
}

std::string Cell(std::string_view tag, std::string_view text, std::string_view attributes = {}) {
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
  return "<td class=\"car\"><span class=\"swatch\" aria-hidden=\"true\" style=\"color:" + CarColour(car) + "\">&#9632;</span>" +
         std::to_string(car) + "</td>";
}

constexpr const char* kStyle = R"(body{font-family:sans-serif;margin:1em;color:#111;background:#fff}
h1{font-size:1.6em;margin:0 0 .2em}p{margin:.2em 0}
table{border-collapse:collapse;margin:.8em 0}th,td{border:1px solid #bbb;padding:.2em .6em;text-align:right}
th{background:#eee}td.car{text-align:left;white-space:nowrap}
.swatch{margin-right:.3em}
td.best{font-weight:bold;background:#fff3b0}figure{margin:1em 0}figure img{max-width:100%;height:auto}
.note{color:#8a4b00})";

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

std::string ResultsPage(const RaceSheet& sheet, bool spanish, const std::vector<PageImage>& images) {
  const bool es = spanish;
  const std::string name = sheet.name.Text();
  const std::string description = sheet.Description();
  const std::string title = (es ? "Carrera " : "Race ") + name + (description.empty() ? "" : " · " + description);

  std::string page = "<!DOCTYPE html>\n<html lang=\"";
  page += es ? "es" : "en";
  page += "\">\n<head>\n<meta charset=\"utf-8\">\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  page += Cell("title", title) + "\n<style>\n" + kStyle + "\n</style>\n</head>\n<body>\n";
  page += Cell("h1", title) + "\n";
  if (sheet.hasClassification) {
    page += Cell("p", sheet.classification.startLine) + "\n";
    if (!sheet.classification.finishLine.empty()) page += Cell("p", sheet.classification.finishLine) + "\n";
  }
  if (!sheet.problems.empty()) {
    page += Cell("p", es ? "Los ficheros de esta carrera tienen líneas que no se pudieron leer; se muestra lo leído:"
                         : "The files of this race hold lines that could not be read; this is what was read:",
                 "class=\"note\"");
    page += "\n<ul class=\"note\">\n";
    for (const auto& problem : sheet.problems) page += Cell("li", problem) + "\n";
    page += "</ul>\n";
  }

  // The classification, with the lap on which each car turned its fastest.
  const std::vector<int> cars = sheet.Cars();
  const std::vector<CarLaps> laps = LapsOf(sheet.passes, cars, sheet.commonTiming);
  std::map<int, const CarLaps*> lapsOfCar;
  for (const auto& car : laps) lapsOfCar[car.car] = &car;
  page += Cell("h2", es ? "Clasificación" : "Classification") + "\n<table>\n<tr>";
  static constexpr const char* kHeadings[2][6] = {{"Pto.", "Coche", "Vueltas", "T. total", "V. ráp.", "En la vuelta"},
                                                  {"Pos.", "Car", "Laps", "Total t.", "Fast lap", "On lap"}};
  for (const char* heading : kHeadings[es ? 0 : 1]) page += Cell("th", heading);
  page += "</tr>\n";
  for (const auto& row : sheet.classification.rows.items) {
    std::string onLap;
    if (auto it = lapsOfCar.find(row.car); it != lapsOfCar.end() && it->second->fastest) {
      onLap = std::to_string(it->second->laps[*it->second->fastest].lap);
    }
    page += "<tr>" + Cell("td", std::to_string(row.position)) + CarCell(row.car) + Cell("td", std::to_string(row.laps)) +
            Cell("td", row.total) + Cell("td", Seconds(row.fastestLap)) + Cell("td", onLap) + "</tr>\n";
  }
  if (sheet.classification.rows.items.empty()) {
    page += "<tr><td colspan=\"6\">" + HtmlEscaped(es ? "Sin clasificación" : "No classification") + "</td></tr>\n";
  }
  page += "</table>\n";

  // The lap table: a row per lap, a column per car, each car's fastest marked.
  int lastLap = 0;
  for (const auto& car : laps) {
    if (car.partialFirst) lastLap = std::max(lastLap, car.partialFirst->lap);
    for (const auto& lap : car.laps) lastLap = std::max(lastLap, lap.lap);
  }
  page += Cell("h2", es ? "Vueltas" : "Laps") + "\n";
  if (lastLap == 0) {
    page += Cell("p", es ? "Ningún coche completó una vuelta." : "No car completed a lap.") + "\n";
  } else {
    page += "<table>\n<tr>" + Cell("th", es ? "Vuelta" : "Lap");
    for (const auto& car : laps) page += Cell("th", (es ? "Coche " : "Car ") + std::to_string(car.car));
    page += "</tr>\n";
    for (int n = 1; n <= lastLap; ++n) {
      page += "<tr>" + Cell("td", std::to_string(n));
      for (const auto& car : laps) {
        std::string text;
        bool best = false;
        if (car.partialFirst && car.partialFirst->lap == n) text = Seconds(car.partialFirst->seconds) + "*";
        for (std::size_t i = 0; i < car.laps.size(); ++i) {
          if (car.laps[i].lap != n) continue;
          text = Seconds(car.laps[i].seconds);
          best = car.fastest == i;
        }
        page += best ? Cell("td", text, "class=\"best\"") : Cell("td", text);
      }
      page += "</tr>\n";
    }
    page += "</table>\n";
    if (sheet.commonTiming) {
      page += Cell("p", es ? "* Primera vuelta, desde la salida hasta la línea." : "* First lap, from the start to the line.") + "\n";
    }
  }

  for (const auto& image : images) {
    page += "<figure><img src=\"data:" + image.mime + ";base64," + Base64(image.bytes) + "\" alt=\"" +
            HtmlEscaped(image.caption) + "\">" + Cell("figcaption", image.caption) + "</figure>\n";
  }
  page += "</body>\n</html>\n";
  return page;
}

}  // namespace results
