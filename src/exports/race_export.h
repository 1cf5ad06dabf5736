#pragma once
// Taking a past race elsewhere: its classification, passes and events as
// CSV, one self-contained HTML results page with both charts, and the four
// printed reports as PDF, without a printer. Every file is written under a
// temporary name and renamed when whole, so none is ever half-written.

#include <QFont>
#include <QString>
#include <string>
#include <vector>

#include "platform/directory.h"
#include "printing/report_frame.h"
#include "results/race_sheet.h"

namespace exports {

struct ExportResult {
  bool ok = false;
  std::string error;                 // why nothing (more) was written
  std::vector<std::string> written;  // the files' paths, in writing order
  std::vector<std::string> warnings; // bad lines of the record files: what was exported is what was read
};

// The four reports of a race, as the files browser and the events review
// print them: classification, passes by pass, the day's races, events by event.
std::vector<printing::Report> RaceReports(const results::RaceSheet& sheet, bool spanish);

// Writes every format of the race into `targetFolder`, which is made when
// it does not exist. `reportFont` is the font of the PDF reports.
ExportResult ExportRace(const results::RaceSheet& sheet, const QString& targetFolder, bool spanish,
                        const QFont& reportFont);

// Reads the race from the record folder, then exports it.
ExportResult ExportRace(platform::DirectoryLister& lister, const std::string& recordFolder,
                        const results::RaceName& race, const QString& targetFolder, bool spanish,
                        const QFont& reportFont);

// Writes bytes to the path through a temporary file in the same folder,
// made durable, then renamed over the path; false with the reason otherwise.
bool WriteWhole(const QString& path, const QByteArray& bytes, std::string& error);

}  // namespace exports
