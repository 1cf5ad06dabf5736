#pragma once
// The race's tables as one spreadsheet (.xlsx), a sheet per table: numbers
// and seconds are numbers that any spreadsheet shows with its own decimal
// mark, and texts are only ever texts, never formulas.

#include <QByteArray>
#include <string>
#include <vector>

#include "results/tables.h"

namespace exports {

// The workbook's bytes; empty, with the reason in `error`, when it could
// not be made.
QByteArray ResultsWorkbook(const std::vector<results::Table>& tables, const std::string& title, std::string& error);

}  // namespace exports
