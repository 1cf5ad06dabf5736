#pragma once
// The record files of the race being run: created at the start, one durable
// line per pass and per event, the classification completed at the finish.

#include <memory>
#include <string>
#include <vector>

#include "platform/directory.h"
#include "records/durable_file.h"

namespace records {

// What the start writes: the names and the ready-made lines (UTF-8).
struct RaceStartRecord {
  std::string nextRaceBase;   // e.g. 26120607
  std::string racesFileName;  // e.g. 26120600.TXT
  std::string description;    // classification line 1
  std::string startLine;      // classification line 2
  std::string racesLine;      // the day's races file line
  std::string journal;        // the race's journal (YYMMDDnn.run); none when empty
};

// Where the race control writes its records. The file-backed sink is the
// real one; tests may put a failing one in its place.
class RecordSink {
 public:
  virtual ~RecordSink() = default;
  // Creates the three race files, appends the races line and, last, writes
  // the journal. On failure nothing of this start is left behind.
  virtual IoResult StartRace(const RaceStartRecord& record) = 0;
  virtual IoResult AppendPass(const std::string& line) = 0;
  virtual IoResult AppendEvent(const std::string& line) = 0;
  // Closes the passes and events files, writes the finish line and the rows
  // and closes the classification file. Every file ends up closed, even
  // when a write fails; the first failure is returned.
  virtual IoResult FinishRace(const std::string& finishLine, const std::vector<std::string>& rows) = 0;
  // Opens the files of a race left unfinished again for appending, a torn
  // last line dropped first, so the race goes on where it was.
  virtual IoResult ResumeRace(const std::string& raceBase) = 0;
};

class RaceFiles final : public RecordSink {
 public:
  RaceFiles(std::string folder, platform::DirectoryLister& lister);

  IoResult StartRace(const RaceStartRecord& record) override;
  IoResult AppendPass(const std::string& line) override;
  IoResult AppendEvent(const std::string& line) override;
  IoResult FinishRace(const std::string& finishLine, const std::vector<std::string>& rows) override;
  IoResult ResumeRace(const std::string& raceBase) override;

  const std::string& folder() const noexcept { return folder_; }

 private:
  IoResult CreateRaceFiles(const RaceStartRecord& record);
  IoResult AppendRacesLine(const RaceStartRecord& record);
  IoResult WriteJournal(const RaceStartRecord& record);
  // Takes back what a start that failed wrote.
  void RemoveCreated();

  std::string folder_;
  platform::DirectoryLister& lister_;
  DurableFile passes_;
  DurableFile events_;
  DurableFile classification_;
  std::vector<std::string> created_;
  std::string racesPath_;  // the day's races file as it was before this start
  long long racesSizeBefore_ = 0;
  std::string journalPath_;  // the running race's journal, removed at the finish
};

// A line as it goes to disk: Windows-1252 bytes and CR LF.
std::string EncodeLine(const std::string& utf8Line);

// Bytes up to the end of their last whole line: a line cut short by a
// power cut has no line end.
std::string_view WholeLines(std::string_view bytes) noexcept;
// Cuts a file back to its last whole line; a missing file is left alone.
IoResult DropTornLastLine(const std::string& path);

}  // namespace records
