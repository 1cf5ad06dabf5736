#pragma once
// The meeting store in an SQLite database (Debian's libsqlite3, its C API):
// TRELVIX.sqlite in the record folder. Write-ahead log, synchronous=FULL,
// foreign keys on; the schema's version in user_version, migrated forward
// step by step in one transaction each. A database that is busy for longer
// than a short wait, read-only, corrupt or from a later version is said
// through Status(), never thrown; the next call tries again.
//
// Opened for reading only (the results page's own connection), it never
// makes, migrates or writes the file: a missing database is Missing, an
// older schema Failed, and every change is refused as ReadOnly.

#include <memory>
#include <string>

#include "meeting/store.h"

struct sqlite3;

namespace platform {

inline constexpr const char* kStoreFileName = "TRELVIX.sqlite";
// The schema this program writes.
inline constexpr int kStoreSchemaVersion = 1;

class SqliteStore final : public meeting::MeetingStore {
 public:
  // Opens (making it when missing) the database at `path`. busyWaitMs: how
  // long a call waits for another program's lock before it gives up.
  enum class Access { ReadWrite, ReadOnly };
  explicit SqliteStore(std::string path, int busyWaitMs = 250, Access access = Access::ReadWrite);
  ~SqliteStore() override;
  SqliteStore(const SqliteStore&) = delete;
  SqliteStore& operator=(const SqliteStore&) = delete;

  const meeting::StoreStatus& Status() const override { return status_; }
  // The database's own check ("ok" when sound).
  std::string IntegrityCheck();
  const std::string& path() const noexcept { return path_; }

  std::optional<std::vector<meeting::Driver>> Drivers() override;
  std::optional<meeting::DriverId> SaveDriver(const meeting::Driver& driver) override;
  bool ApplyImport(const meeting::ImportPlan& plan) override;
  std::optional<std::vector<meeting::Meeting>> Meetings() override;
  std::optional<meeting::Meeting> MeetingById(meeting::MeetingId id) override;
  std::optional<meeting::MeetingId> SaveMeeting(const meeting::Meeting& meeting) override;
  std::optional<std::vector<meeting::StoredHeat>> Heats(meeting::MeetingId meeting) override;
  bool AddHeats(meeting::MeetingId meeting, const std::vector<meeting::Heat>& heats) override;
  bool LinkRace(meeting::MeetingId meeting, int heat, const std::string& raceId) override;
  std::optional<std::optional<meeting::HeatLink>> HeatOfRace(const std::string& raceId) override;
  bool EnterResult(meeting::MeetingId meeting, const meeting::HeatResult& result) override;
  std::optional<std::vector<meeting::HeatResult>> Results(meeting::MeetingId meeting) override;

 private:
  class Db;
  bool Ready();
  bool ReadyForReading(sqlite3* db);
  std::string path_;
  int busyWaitMs_;
  Access access_;
  sqlite3* db_ = nullptr;
  meeting::StoreStatus status_;
};

}  // namespace platform
