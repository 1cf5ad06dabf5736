#pragma once
// Taking a past race elsewhere: its classification, passes and events as
// CSV and as one spreadsheet, one self-contained HTML results page with both
// charts, the charts as pictures, and one PDF results document, all in the
// export's language. The files appear together, each whole and synced, or
// none of them does.

#include <QByteArray>
#include <QString>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/directory.h"
#include "results/race_sheet.h"
#include "results/tables.h"

namespace exports {

struct ExportResult {
  bool ok = false;
  std::string error;                  // why nothing was written, in the export's language
  std::vector<std::string> written;   // the files' paths, in writing order
  std::vector<std::string> warnings;  // why the export is not the whole race (bad lines, unfinished)
  bool partial = false;               // some lines of the record files could not be read
};

// Writes every format of the race into `targetFolder`, which is made when
// it does not exist. A race without its classification, passes or events
// file is not exported.
ExportResult ExportRace(const results::RaceSheet& sheet, const QString& targetFolder, bool spanish);

// Reads the race from the record folder, then exports it; a meeting heat's
// race with its drivers by car (see meeting::DriverNamesOfRace).
ExportResult ExportRace(platform::DirectoryLister& lister, const std::string& recordFolder, const records::RaceId& race,
                        const QString& targetFolder, bool spanish, const std::map<int, std::string>& drivers = {});

// Files made in memory, by name, before any of them reaches the folder.
using FileList = std::vector<std::pair<std::string, QByteArray>>;

// Adds each table as CSV, named `stem` and its suffix, then all of them as
// one spreadsheet; false, with the reason in `result`, when the spreadsheet
// could not be made.
bool AddTables(FileList& files, const std::vector<results::Table>& tables, const std::vector<std::string>& suffixes,
               const std::string& stem, const std::string& title, bool spanish, ExportResult& result);

// Makes the folder when missing and writes the files into it together,
// each whole and synced, or none of them; fills `result` either way.
bool WriteTogether(const QString& targetFolder, const FileList& files, bool spanish,
                   ExportResult& result);

// Writes bytes to the path through a temporary file of its own in the same
// folder, made durable, then renamed over the path; false with the system's
// words for why it could not otherwise.
bool WriteWhole(const QString& path, const QByteArray& bytes, std::string& error);

}  // namespace exports
