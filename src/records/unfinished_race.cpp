#include "records/unfinished_race.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>

#include "records/naming.h"
#include "records/race_files.h"

namespace records {
namespace {

bool Digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

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
    if (!IsRunJournalName(name) || name.size() != 12) continue;
    std::string journal, cls;
    const std::string path = JoinPath(folder, name);
    const auto parsed = ReadWholeFile(path, journal) ? ParseRunJournal(journal) : std::nullopt;
    const std::string clsName = FindEntryIgnoringCase(lister, folder, name.substr(0, 8) + ".cls");
    if (!parsed || clsName.empty() || !ReadWholeFile(JoinPath(folder, clsName), cls)) continue;
    // The two start lines, the finish line and the rows, each whole.
    const int complete = 3 + static_cast<int>(parsed->cars.size());
    if (LineCount(WholeLines(cls)) >= complete && std::remove(path.c_str()) == 0) ++removed;
  }
  return removed;
}

std::optional<long long> ParseDurationMillis(std::string_view text) {
  long long hours = 0;
  const auto h = text.find("h ");
  if (h != std::string_view::npos) {
    if (!Digits(text.substr(0, h))) return std::nullopt;
    std::from_chars(text.data(), text.data() + h, hours);
    text.remove_prefix(h + 2);
  }
  // mm'ss"mmm
  if (text.size() != 9 || text[2] != '\'' || text[5] != '"') return std::nullopt;
  const std::string_view mm = text.substr(0, 2), ss = text.substr(3, 2), ms = text.substr(6, 3);
  if (!Digits(mm) || !Digits(ss) || !Digits(ms)) return std::nullopt;
  auto value = [](std::string_view d) {
    int v = 0;
    std::from_chars(d.data(), d.data() + d.size(), v);
    return v;
  };
  return ((hours * 60 + value(mm)) * 60 + value(ss)) * 1000LL + value(ms);
}

std::optional<UnfinishedRace> FindUnfinishedRace(platform::DirectoryLister& lister, const std::string& folder,
                                                 const platform::LocalDateTime& startUpDate) {
  const std::string today = DayBase(startUpDate);
  const std::string yesterday = DayBase(DayBefore(startUpDate));
  // The newest race: today's before yesterday's, the highest number first.
  std::string newest;
  int newestRank = -1;
  for (const std::string& name : lister.List(folder)) {
    if (name.size() < 9 || name[8] != '.' || !Digits(std::string_view(name).substr(6, 2))) continue;
    const std::string day = name.substr(0, 6);
    const int number = (name[6] - '0') * 10 + (name[7] - '0');
    if (number == 0 || (day != today && day != yesterday)) continue;
    const int rank = (day == today ? 100 : 0) + number;
    if (rank > newestRank) {
      newestRank = rank;
      newest = name.substr(0, 8);
    }
  }
  if (newest.empty()) return std::nullopt;

  std::string bytes;
  const std::string cls = FindEntryIgnoringCase(lister, folder, newest + ".cls");
  if (cls.empty() || !ReadWholeFile(JoinPath(folder, cls), bytes) || LineCount(bytes) > 2) return std::nullopt;
  UnfinishedRace race;
  race.description = ReadClassification(bytes).description;
  const std::string run = FindEntryIgnoringCase(lister, folder, RunJournalName(newest));
  std::string journal;
  if (run.empty() || !ReadWholeFile(JoinPath(folder, run), journal)) return std::nullopt;
  auto parsed = ParseRunJournal(journal);
  if (!parsed || parsed->raceBase != newest) return std::nullopt;
  race.journal = std::move(*parsed);
  race.raceNumber = (newest[6] - '0') * 10 + (newest[7] - '0');

  // A line cut short by the power going is dropped; the rest is the race.
  const std::string pss = FindEntryIgnoringCase(lister, folder, newest + ".pss");
  if (!pss.empty() && ReadWholeFile(JoinPath(folder, pss), bytes)) race.passes = SacaPSS(WholeLines(bytes)).items;
  const std::string inc = FindEntryIgnoringCase(lister, folder, newest + ".inc");
  if (!inc.empty() && ReadWholeFile(JoinPath(folder, inc), bytes)) {
    for (const TInci& e : ReadEvents(WholeLines(bytes)).items) race.lastEvent = std::max<int>(race.lastEvent, e.number);
  }
  return race;
}

}  // namespace records
