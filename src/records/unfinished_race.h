#pragma once
// Finding a race that a crash, a kill or a power cut left unfinished, and
// reading back what its files and its journal hold, so it can go on.

#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/directory.h"
#include "records/race_id.h"
#include "records/readers.h"
#include "records/run_journal.h"

namespace records {

struct UnfinishedRace {
  RunJournal journal;
  int raceNumber = 0;            // 1..99, from the base
  // The race's name, "26120601"; the journal's base is checked to be one.
  RaceId Id() const { return *RaceId::Parse(journal.raceBase); }
  std::string description;       // the classification's first line (UTF-8)
  std::vector<TPaso> passes;     // every whole line of the passes file
  int lastEvent = 0;             // the highest event number written
  std::vector<TInci> corrections;  // the correction lines among the events, in file order
};

// The newest race of the start-up day or the day before, when its
// classification holds only its start lines and its journal is whole.
std::optional<UnfinishedRace> FindUnfinishedRace(platform::DirectoryLister& lister, const std::string& folder,
                                                 const platform::LocalDateTime& startUpDate);

// Removes the journal of every race whose classification is complete (its
// finish line and one row per car): a kill in the finish, after the
// classification and before its journal was removed, leaves one behind.
// Returns how many it removed.
int RemoveFinishedJournals(platform::DirectoryLister& lister, const std::string& folder);

}  // namespace records
