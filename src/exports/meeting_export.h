#pragma once
// Taking a club meeting elsewhere: its heat sheet, results and the
// championship of its class and year as CSV and as one spreadsheet, one
// self-contained HTML page and one PDF document (its heat sheet a line per
// car, to fit the page), in the export's language.
// The files appear together, each whole and synced, or none of them does.

#include <QString>
#include <string>
#include <vector>

#include "exports/race_export.h"
#include "meeting/sheets.h"

namespace exports {

// `meetings` are the store's meetings, for the championship's columns.
ExportResult ExportMeeting(const meeting::MeetingBook& book, const std::vector<meeting::Meeting>& meetings,
                           const meeting::SeasonTable& season, const QString& targetFolder, bool spanish);

// Reads the meeting and its season from the store, then exports it, the
// championship counting each driver's best `bestOf` meetings (0: all); a
// meeting that is not there, or a store that cannot be read, is said in
// `error`.
ExportResult ExportMeeting(meeting::MeetingStore& store, meeting::MeetingId id, int bestOf, const QString& targetFolder,
                           bool spanish);

// The file names' common start: "meeting-2026-12-09-3".
std::string MeetingStem(const meeting::Meeting& meeting);

}  // namespace exports
