#include "records/race_files.h"

#include <cstdio>

#include "records/cp1252.h"
#include "records/naming.h"

namespace records {

std::string EncodeLine(const std::string& utf8Line) {
  std::string bytes = Utf8ToCp1252(utf8Line);
  bytes += "\r\n";
  return bytes;
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
  DurableFile races;
  if (auto r = races.OpenAppend(JoinPath(folder_, name)); !r) return r;
  if (auto r = races.Append(EncodeLine(record.racesLine)); !r) return r;
  if (auto r = races.Close(); !r) return r;
  // The day's first races file is a new folder entry: without this sync a
  // power cut could keep the race's files and lose the day's list of races.
  return creating ? SyncFolder(folder_) : IoResult{};
}

void RaceFiles::RemoveCreated() {
  passes_.Close();
  events_.Close();
  classification_.Close();
  for (const auto& path : created_) std::remove(path.c_str());
  created_.clear();
}

IoResult RaceFiles::StartRace(const RaceStartRecord& record) {
  created_.clear();
  IoResult r = CreateRaceFiles(record);
  if (r) r = AppendRacesLine(record);
  if (!r) RemoveCreated();
  created_.clear();
  return r;
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
  return first;
}

}  // namespace records
