#pragma once
// Where the roster and the meetings are kept: drivers, meetings, their
// heats with line-ups, the race each heat is linked to and the results
// entered. The record files never depend on it; a race refers to a heat
// only through the link kept here (race id <-> meeting and heat).
//
// Every call either completes, durably (a change reported saved is on
// disk), or changes nothing and says why through Problem(): a busy or
// locked database, a read-only or corrupt file. A failure never throws.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "meeting/driver.h"
#include "meeting/heat.h"
#include "meeting/meeting.h"
#include "meeting/roster_csv.h"

namespace meeting {

enum class StoreProblem {
  None,
  Busy,      // another program holds the database (busy or locked)
  ReadOnly,  // the file or its folder cannot be written
  Corrupt,   // not a database of ours, or damaged
  TooNew,    // written by a later version of the program
  Invalid,   // the data given breaks a rule (a name taken, an unknown heat)
  Failed,    // anything else: the detail says what
  Missing,   // opened for reading only, and there is no database (yet)
};

struct StoreStatus {
  StoreProblem problem = StoreProblem::None;
  std::string detail;  // the database's own words, for the director
  bool ok() const noexcept { return problem == StoreProblem::None; }
};

// A heat as stored: its line-up and the race linked to it, if any.
struct StoredHeat {
  Heat heat;
  std::optional<std::string> raceId;  // "YYMMDDnn" of the race that ran it last
};

struct HeatLink {
  MeetingId meeting = 0;
  int heat = 0;
  bool operator==(const HeatLink&) const = default;
};

class MeetingStore {
 public:
  virtual ~MeetingStore() = default;
  // What the last call ran into; ok() after a call that succeeded.
  virtual const StoreStatus& Status() const = 0;

  // Drivers, by id.
  virtual std::optional<std::vector<Driver>> Drivers() = 0;
  // Adds a driver (id 0) or replaces one; the rules of CheckDriver hold.
  virtual std::optional<DriverId> SaveDriver(const Driver& driver) = 0;
  // Applies an import plan whole, in one transaction, or not at all.
  virtual bool ApplyImport(const ImportPlan& plan) = 0;

  // Meetings, by date then id, settings and entrants included.
  virtual std::optional<std::vector<Meeting>> Meetings() = 0;
  virtual std::optional<Meeting> MeetingById(MeetingId id) = 0;
  // Adds (id 0) or replaces a meeting. Settings that shape the heats
  // cannot change once it has a heat: Invalid.
  virtual std::optional<MeetingId> SaveMeeting(const Meeting& meeting) = 0;

  // The meeting's heats by number; line-ups never change once stored.
  virtual std::optional<std::vector<StoredHeat>> Heats(MeetingId meeting) = 0;
  // Appends heats lined up (their numbers follow the stored ones).
  virtual bool AddHeats(MeetingId meeting, const std::vector<Heat>& heats) = 0;

  // Links a heat to the race that runs it; a re-run replaces the link and
  // drops the earlier race's result (its files stay on disk).
  virtual bool LinkRace(MeetingId meeting, int heat, const std::string& raceId) = 0;
  // The heat a race ran, if it is linked to one.
  virtual std::optional<std::optional<HeatLink>> HeatOfRace(const std::string& raceId) = 0;
  // Enters the result of the race linked to its heat (result.raceId);
  // Invalid when the race is no longer that heat's.
  virtual bool EnterResult(MeetingId meeting, const HeatResult& result) = 0;
  virtual std::optional<std::vector<HeatResult>> Results(MeetingId meeting) = 0;
};

// The drivers of the heat a race ran, by car number, with their full names:
// what the race's exports, charts and printed reports show beside the cars.
// Empty when the race ran no heat or the store cannot be read: a race is
// never kept from its results because of the database.
std::map<int, std::string> DriverNamesOfRace(MeetingStore& store, const std::string& raceId);

// The director's sentence for a problem, in the language.
std::string StoreProblemText(const StoreStatus& status, bool spanish);

}  // namespace meeting
