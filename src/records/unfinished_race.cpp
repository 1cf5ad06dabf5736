#include "records/unfinished_race.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "records/corrections.h"
#include "records/naming.h"
#include "records/race_files.h"
#include "records/race_id.h"

namespace records {
namespace {

platform::LocalDateTime DayBefore(const platform::LocalDateTime& date) {
  using namespace std::chrono;
  const sys_days day = sys_days(year_month_day(year(date.year), month(static_cast<unsigned>(date.month)),
                                               std::chrono::day(static_cast<unsigned>(date.day)))) -
                       days(1);
  const year_month_day before(day);
  platform::LocalDateTime out = date;
  out.year = static_cast<int>(before.year());
  out.month = static_cast<int>(static_cast<unsigned>(before.month()));
  out.day = static_cast<int>(static_cast<unsigned>(before.day()));
  return out;
}

int LineCount(std::string_view bytes) {
  return static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')) +
         (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
}

}  // namespace

int RemoveFinishedJournals(platform::DirectoryLister& lister, const std::string& folder) {
  int removed = 0;
  for (const std::string& name : lister.List(folder)) {
    const auto race = RaceId::OfFileName(name);
    if (!IsRunJournalName(name) || name.size() != 12 || !race) continue;
    std::string journal, cls;
    const std::string path = JoinPath(folder, name);
    const auto parsed = ReadWholeFile(path, journal) ? ParseRunJournal(journal) : std::nullopt;
    const std::string clsName = FindEntryIgnoringCase(lister, folder, race->FileName(".cls"));
    if (!parsed || clsName.empty() || !ReadWholeFile(JoinPath(folder, clsName), cls)) continue;
    // The two start lines, the finish line and the rows, each whole.
    const int complete = 3 + static_cast<int>(parsed->cars.size());
    if (LineCount(WholeLines(cls)) >= complete && std::remove(path.c_str()) == 0) ++removed;
  }
  return removed;
}

std::optional<UnfinishedRace> FindUnfinishedRace(platform::DirectoryLister& lister, const std::string& folder,
                                                 const platform::LocalDateTime& startUpDate) {
  const std::string today = DayBase(startUpDate);
  const std::string yesterday = DayBase(DayBefore(startUpDate));
  // The newest race: today's before yesterday's, the highest number first.
  std::optional<RaceId> newestRace;
  int newestRank = -1;
  for (const std::string& name : lister.List(folder)) {
    const auto race = RaceId::OfFileName(name);
    if (!race || (race->day() != today && race->day() != yesterday)) continue;
    const int rank = (race->day() == today ? 100 : 0) + race->number();
    if (rank > newestRank) {
      newestRank = rank;
      newestRace = race;
    }
  }
  if (!newestRace) return std::nullopt;
  const std::string newest = newestRace->Text();

  std::string bytes;
  const std::string cls = FindEntryIgnoringCase(lister, folder, newestRace->FileName(".cls"));
  if (cls.empty() || !ReadWholeFile(JoinPath(folder, cls), bytes) || LineCount(bytes) > 2) return std::nullopt;
  UnfinishedRace race;
  race.description = ReadClassification(bytes).description;
  const std::string run = FindEntryIgnoringCase(lister, folder, RunJournalName(newest));
  std::string journal;
  if (run.empty() || !ReadWholeFile(JoinPath(folder, run), journal)) return std::nullopt;
  auto parsed = ParseRunJournal(journal);
  if (!parsed || parsed->raceBase != newest) return std::nullopt;
  race.journal = std::move(*parsed);
  race.raceNumber = newestRace->number();

  // A line cut short by the power going is dropped; the rest is the race.
  const std::string pss = FindEntryIgnoringCase(lister, folder, newestRace->FileName(".pss"));
  if (!pss.empty() && ReadWholeFile(JoinPath(folder, pss), bytes)) race.passes = SacaPSS(WholeLines(bytes)).items;
  const std::string inc = FindEntryIgnoringCase(lister, folder, newestRace->FileName(".inc"));
  if (!inc.empty() && ReadWholeFile(JoinPath(folder, inc), bytes)) {
    for (TInci& e : ReadEvents(WholeLines(bytes)).items) {
      race.lastEvent = std::max<int>(race.lastEvent, e.number);
      if (IsCorrectionCode(e.type)) race.corrections.push_back(std::move(e));
    }
  }
  return race;
}

}  // namespace records
