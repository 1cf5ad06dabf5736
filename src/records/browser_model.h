#pragma once
// What the files browser shows of the record folder: the days, the races
// of a day, and a race's description, classification and passes, as the
// texts of its grids and labels.

#include <string>
#include <string_view>
#include <vector>

#include "records/readers.h"

namespace records {

// The day stems (YYMMDD) of every races file of the folder ("??????00.TXT",
// any letter case), sorted so that the latest day is last.
std::vector<std::string> DayList(const std::vector<std::string>& entryNames);

// The actual file name of a race's file: the day's stem, the two-digit race
// number and the extension (".cls", ".pss", ".inc").
std::string RaceFileName(std::string_view dayStem, int raceNumber, std::string_view extension);

// The grids' headings in a language.
std::vector<std::string> ClassificationHeadings(bool spanish);
std::vector<std::string> PassesHeadings(bool spanish);
std::vector<std::string> RacesHeadings(bool spanish);

// The cells of one grid row, each padded as the grid shows it.
std::vector<std::string> ClassificationCells(const TLClasif& row);
std::vector<std::string> PassCells(const TPaso& pass);
std::vector<std::string> RaceCells(const TRace& race);

// "Descripción" value: the description, ". ", the finish line and ".";
// "Detalles" value: the start line and ".".
std::string DescriptionValue(const ClassificationFile& file);
std::string DetailsValue(const ClassificationFile& file);

// A whole number in a printf format ("%4d" written "%4lld").
std::string PaddedNumber(const char* format, long long value);
// The text right-aligned in `width` characters as shown (UTF-8 aware).
std::string RightAligned(std::string_view text, std::size_t width);

// "%.3f" with a comma, right-aligned in `width` characters.
std::string FixedSeconds(double seconds, int width);

// The height of a grid of `rows` rows below its heading: 14 pixels a row,
// the heading included, plus 14, no more than the whole rows that fit below
// `top` in a window `windowHeight` high, less 20.
int GridHeight(int rows, int top, int windowHeight);
// The height the grid is given from that: the passes grid H + 3 rounded down
// to a multiple of 4, the others H + 7 rounded down to a multiple of 4, plus 2.
int GridPixelHeight(int rows, int top, int windowHeight, bool passesGrid);

}  // namespace records
