#include "records/race_files.h"

#include <cstdio>

#include "records/cp1252.h"
#include "records/readers.h"
#include "records/naming.h"
#include "records/run_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace records {

std::string EncodeLine(const std::string& utf8Line) {
  std::string bytes = Utf8ToCp1252(utf8Line);
  bytes += "\r\n";
  return bytes;
}

std::string_view WholeLines(std::string_view bytes) noexcept {
  const auto lastEnd = bytes.rfind('\n');
  return lastEnd == std::string_view::npos ? std::string_view() : bytes.substr(0, lastEnd + 1);
}

IoResult DropTornLastLine(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return {};
  const std::size_t whole = WholeLines(bytes).size();
  if (whole == bytes.size()) return {};
  if (::truncate(path.c_str(), static_cast<off_t>(whole)) != 0) return IoResult::Failure(errno, path);
  return {};
}

RaceFiles::RaceFiles(std::string folder, platform::DirectoryLister& lister)
    : folder_(std::move(folder)), lister_(lister) {}

IoResult RaceFiles::CreateRaceFiles(const RaceStartRecord& record) {
  struct Target {
    DurableFile* file;
    const char* extension;
  };
  for (const Target& t : {Target{&passes_, ".pss"}, Target{&events_, ".inc"}, Target{&classification_, ".cls"}}) {
    const std::string path = JoinPath(folder_, record.nextRaceBase + t.extension);
    if (auto r = t.file->Create(path); !r) return r;
    created_.push_back(path);
  }
  if (auto r = classification_.Append(EncodeLine(record.description) + EncodeLine(record.startLine)); !r) return r;
  return SyncFolder(folder_);
}

IoResult RaceFiles::AppendRacesLine(const RaceStartRecord& record) {
  // Append to the day's races file whatever the case of its name on disk.
  std::string name = FindEntryIgnoringCase(lister_, folder_, record.racesFileName);
  const bool creating = name.empty();
  if (creating) name = record.racesFileName;
  const std::string path = JoinPath(folder_, name);
  // What a start that fails later takes back: the new file, or the new line.
  struct stat before {};
  if (creating) {
    created_.push_back(path);
  } else if (::stat(path.c_str(), &before) == 0) {
    racesPath_ = path;
    racesSizeBefore_ = before.st_size;
  }
  DurableFile races;
  if (auto r = races.OpenAppend(path); !r) return r;
  if (auto r = races.Append(EncodeLine(record.racesLine)); !r) return r;
  if (auto r = races.Close(); !r) return r;
  // The day's first races file is a new folder entry: without this sync a
  // power cut could keep the race's files and lose the day's list of races.
  return creating ? SyncFolder(folder_) : IoResult{};
}

IoResult RaceFiles::WriteJournal(const RaceStartRecord& record) {
  if (record.journal.empty()) return {};
  const std::string path = JoinPath(folder_, RunJournalName(record.nextRaceBase));
  DurableFile journal;
  if (auto r = journal.Create(path); !r) return r;
  created_.push_back(path);
  if (auto r = journal.Append(record.journal); !r) return r;
  if (auto r = journal.Close(); !r) return r;
  journalPath_ = path;
  return SyncFolder(folder_);
}

void RaceFiles::RemoveCreated() {
  passes_.Close();
  events_.Close();
  classification_.Close();
  for (const auto& path : created_) std::remove(path.c_str());
  created_.clear();
  if (!racesPath_.empty() && ::truncate(racesPath_.c_str(), static_cast<off_t>(racesSizeBefore_)) != 0) {
    // The start's own error is the one the director is shown.
  }
}

IoResult RaceFiles::StartRace(const RaceStartRecord& record) {
  created_.clear();
  racesPath_.clear();
  journalPath_.clear();
  // The journal comes last, once the races line is on disk: a race that can
  // be continued is always in the day's list, whenever the program dies.
  IoResult r = CreateRaceFiles(record);
  if (r) r = AppendRacesLine(record);
  if (r) r = WriteJournal(record);
  if (!r) {
    RemoveCreated();
    journalPath_.clear();
  }
  created_.clear();
  racesPath_.clear();
  return r;
}

IoResult RaceFiles::ResumeRace(const std::string& raceBase) {
  journalPath_ = JoinPath(folder_, RunJournalName(raceBase));
  struct Target {
    DurableFile* file;
    const char* extension;
  };
  for (const Target& t : {Target{&passes_, ".pss"}, Target{&events_, ".inc"}, Target{&classification_, ".cls"}}) {
    const std::string path = JoinPath(folder_, raceBase + t.extension);
    if (auto r = DropTornLastLine(path); !r) return r;
    if (auto r = t.file->OpenAppend(path); !r) return r;
  }
  return {};
}

IoResult RaceFiles::AppendPass(const std::string& line) { return passes_.Append(EncodeLine(line)); }

IoResult RaceFiles::AppendEvent(const std::string& line) { return events_.Append(EncodeLine(line)); }

IoResult RaceFiles::FinishRace(const std::string& finishLine, const std::vector<std::string>& rows) {
  IoResult first;
  auto keep = [&first](IoResult r) {
    if (first && !r) first = std::move(r);
  };
  keep(passes_.Close());
  keep(events_.Close());
  std::string bytes = EncodeLine(finishLine);
  for (const auto& row : rows) bytes += EncodeLine(row);
  keep(classification_.Append(bytes));
  keep(classification_.Close());
  // A finished race needs no journal: nothing is left to resume.
  if (first && !journalPath_.empty()) std::remove(journalPath_.c_str());
  journalPath_.clear();
  return first;
}

}  // namespace records
