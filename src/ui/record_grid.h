#pragma once
// The string grids of the files browser and the events review: one heading
// row, no heading column, rows 14 pixels high, cells in a fixed-pitch face
// showing their texts exactly as formatted (leading blanks included).

#include <QRect>
#include <QTableWidget>
#include <string>
#include <vector>

namespace ui {

inline constexpr int kGridRowHeight = 14;

// A read-only grid with the given column widths at a fixed place.
QTableWidget* MakeRecordGrid(QWidget* parent, const char* name, const QRect& place, const std::vector<int>& widths,
                             const QFont& font);

void SetGridHeadings(QTableWidget* grid, const std::vector<std::string>& headings);
std::vector<std::string> GridHeadings(const QTableWidget* grid);

// One row per record below the heading; without records one empty row.
void FillGridRows(QTableWidget* grid, const std::vector<std::vector<std::string>>& rows);
// The texts of every row below the heading, as shown.
std::vector<std::vector<std::string>> GridRows(const QTableWidget* grid);

// No current cell, nothing highlighted.
void ClearGridSelection(QTableWidget* grid);

}  // namespace ui
