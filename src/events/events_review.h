#pragma once
// The events review: the events of one past race as table rows, in one of
// three orders, and as printed lines.

#include <array>
#include <string>
#include <vector>

#include "records/readers.h"

namespace events {

enum class InciOrder { ByEvent = 0, ByCar = 1, ByType = 2 };

// Whether entry b must come before entry a in the chosen order.
bool MustComeBefore(const records::TInci& b, const records::TInci& a, InciOrder order);

// Re-orders the list by the exchange procedure: for each position i and each
// later j, the entry at j is exchanged with the one at i when it must come
// before it. Entries the order leaves unordered keep what that gives.
void OrderInci(std::vector<records::TInci>& list, InciOrder order);

// The six cells of a grid row: "%4d" event, "%2d" car or "--", "%5d" lap or
// "--", the time right-aligned in 11, the type right-aligned in 5, "*" for
// a manual text.
std::array<std::string, 6> InciCells(const records::TInci& entry);

std::array<std::string, 6> InciHeadings(bool spanish);
// "Por incidencia", "Por coche", "Por tipo" / "By event", ...
std::array<std::string, 3> InciOrderCaptions(bool spanish);

// "Incidencias: " / "Events: " and the count.
std::string InciCountText(bool spanish, std::size_t count);

// The report title: "Incidencias por coche", "Events by type" ...
std::string InciReportTitle(bool spanish, InciOrder order);

// The heading line and the row lines of the printed report: columns 0 to 4,
// each followed by a TAB.
std::string InciReportHeading(bool spanish);
std::vector<std::string> InciReportRows(const std::vector<records::TInci>& list);

// The grid's height for `rowCount` rows, the heading row included: two rows
// and 3 pixels plus the rows' height rounded down to a multiple of 4; when
// that is more than the whole rows that fit below `top` in a window
// `windowHeight` high less 20 pixels, those rows (the grid then scrolls).
int InciGridHeight(int rowCount, int top, int windowHeight);

}  // namespace events
