#include "platform/sqlite_store.h"

#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace platform {

using meeting::StoreProblem;

namespace {

// Inside this file only: a step that failed unwinds to the public call,
// which rolls back and reports it.
struct SqlFailure {
  int code = SQLITE_ERROR;
  std::string message;
};
struct RuleFailure {
  std::string message;
};

// Each step of the schema, from the version before it. Never edit a step
// that has shipped: add the next one.
const char* const kMigrations[] = {
    // 0 -> 1
    "CREATE TABLE drivers(id INTEGER PRIMARY KEY, name TEXT NOT NULL, short_name TEXT NOT NULL, number INTEGER,"
    " class TEXT NOT NULL, active INTEGER NOT NULL);"
    "CREATE TABLE meetings(id INTEGER PRIMARY KEY, date TEXT NOT NULL, name TEXT NOT NULL, class TEXT NOT NULL,"
    " format INTEGER NOT NULL, lanes INTEGER NOT NULL, stint_minutes INTEGER NOT NULL, rounds INTEGER NOT NULL,"
    " round_minutes INTEGER NOT NULL, group_size INTEGER NOT NULL, first_round INTEGER NOT NULL,"
    " seed INTEGER NOT NULL, ranking INTEGER NOT NULL, individual_timing INTEGER NOT NULL,"
    " final_size INTEGER NOT NULL, bump_up INTEGER NOT NULL, final_minutes INTEGER NOT NULL, points TEXT NOT NULL);"
    "CREATE TABLE entrants(meeting INTEGER NOT NULL REFERENCES meetings(id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL, driver INTEGER NOT NULL REFERENCES drivers(id), PRIMARY KEY(meeting, position),"
    " UNIQUE(meeting, driver));"
    "CREATE TABLE heats(meeting INTEGER NOT NULL REFERENCES meetings(id) ON DELETE CASCADE, number INTEGER NOT NULL,"
    " stage INTEGER NOT NULL, round INTEGER NOT NULL, grp INTEGER NOT NULL, minutes INTEGER NOT NULL,"
    " cars INTEGER NOT NULL, common_timing INTEGER NOT NULL, race_id TEXT UNIQUE, has_result INTEGER NOT NULL DEFAULT 0,"
    " PRIMARY KEY(meeting, number));"
    "CREATE TABLE seats(meeting INTEGER NOT NULL, heat INTEGER NOT NULL, car INTEGER NOT NULL,"
    " driver INTEGER NOT NULL REFERENCES drivers(id), PRIMARY KEY(meeting, heat, car), UNIQUE(meeting, heat, driver),"
    " FOREIGN KEY(meeting, heat) REFERENCES heats(meeting, number) ON DELETE CASCADE);"
    "CREATE TABLE results(meeting INTEGER NOT NULL, heat INTEGER NOT NULL, car INTEGER NOT NULL,"
    " laps INTEGER NOT NULL, time_ms INTEGER NOT NULL, best_lap_ms INTEGER NOT NULL, status INTEGER NOT NULL,"
    " PRIMARY KEY(meeting, heat, car), FOREIGN KEY(meeting, heat) REFERENCES heats(meeting, number) ON DELETE CASCADE);"
    "CREATE INDEX drivers_by_name ON drivers(name);",
};
constexpr int kSteps = static_cast<int>(sizeof kMigrations / sizeof kMigrations[0]);
static_assert(kSteps == kStoreSchemaVersion);

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) Fail();
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(stmt_, index, value));
    return *this;
  }
  Statement& Bind(int index, const std::string& text) {
    Check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
    return *this;
  }
  Statement& BindNull(int index) {
    Check(sqlite3_bind_null(stmt_, index));
    return *this;
  }
  // True while a row is there.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail();
    return false;
  }
  void Run() {
    while (Step()) {
    }
    sqlite3_reset(stmt_);
  }
  std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
  std::string Text(int column) const {
    const auto* text = sqlite3_column_text(stmt_, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
                : std::string();
  }

 private:
  void Check(int rc) {
    if (rc != SQLITE_OK) Fail();
  }
  [[noreturn]] void Fail() { throw SqlFailure{sqlite3_extended_errcode(db_), sqlite3_errmsg(db_)}; }
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

void Exec(sqlite3* db, const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    SqlFailure failure{sqlite3_extended_errcode(db), message ? message : sqlite3_errmsg(db)};
    sqlite3_free(message);
    throw failure;
  }
}

// A write transaction, taken at once (BEGIN IMMEDIATE) so that a busy
// database is found before anything is done; rolled back unless committed.
class Transaction {
 public:
  explicit Transaction(sqlite3* db) : db_(db) { Exec(db_, "BEGIN IMMEDIATE"); }
  ~Transaction() {
    if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit() {
    Exec(db_, "COMMIT");
    done_ = true;
  }

 private:
  sqlite3* db_;
  bool done_ = false;
};

StoreProblem ProblemOf(int code) {
  switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return StoreProblem::Busy;
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
      return StoreProblem::ReadOnly;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return StoreProblem::Corrupt;
    case SQLITE_CONSTRAINT:
      return StoreProblem::Invalid;
    default:
      return StoreProblem::Failed;
  }
}

std::string PointsText(const std::vector<int>& points) {
  std::string text;
  for (std::size_t i = 0; i < points.size(); ++i) text += (i ? "," : "") + std::to_string(points[i]);
  return text;
}

std::vector<int> PointsOf(const std::string& text) {
  std::vector<int> points;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    if (!item.empty()) points.push_back(std::stoi(item));
  }
  return points;
}

void BindDriver(Statement& s, const meeting::Driver& d) {
  s.Bind(1, d.name).Bind(2, d.shortName);
  if (d.number) {
    s.Bind(3, *d.number);
  } else {
    s.BindNull(3);
  }
  s.Bind(4, d.className).Bind(5, d.active ? 1 : 0);
}

std::vector<meeting::Driver> ReadDrivers(sqlite3* db) {
  std::vector<meeting::Driver> drivers;
  Statement s(db, "SELECT id, name, short_name, number, class, active FROM drivers ORDER BY id");
  while (s.Step()) {
    meeting::Driver d;
    d.id = s.Int(0);
    d.name = s.Text(1);
    d.shortName = s.Text(2);
    if (!s.IsNull(3)) d.number = static_cast<int>(s.Int(3));
    d.className = s.Text(4);
    d.active = s.Int(5) != 0;
    drivers.push_back(std::move(d));
  }
  return drivers;
}

constexpr const char* kMeetingColumns =
    "SELECT id, date, name, class, format, lanes, stint_minutes, rounds, round_minutes, group_size, first_round, seed,"
    " ranking, individual_timing, final_size, bump_up, final_minutes, points FROM meetings";

meeting::Meeting MeetingOf(const Statement& s) {
  meeting::Meeting m;
  m.id = s.Int(0);
  if (const auto date = meeting::ParseIsoDate(s.Text(1))) m.date = *date;
  m.name = s.Text(2);
  m.className = s.Text(3);
  m.format = s.Int(4) == 1 ? meeting::Format::QualifyingFinals : meeting::Format::Rotation;
  m.rotation.lanes = static_cast<int>(s.Int(5));
  m.rotation.stintMinutes = static_cast<int>(s.Int(6));
  auto& q = m.qualifying;
  q.rounds = static_cast<int>(s.Int(7));
  q.roundMinutes = static_cast<int>(s.Int(8));
  q.groupSize = static_cast<int>(s.Int(9));
  q.firstRound = s.Int(10) == 1 ? meeting::FirstRoundOrder::Entry : meeting::FirstRoundOrder::Random;
  q.seed = static_cast<std::uint64_t>(s.Int(11));
  q.ranking = s.Int(12) == 1 ? meeting::QualifyingRanking::RoundPoints : meeting::QualifyingRanking::BestRound;
  q.individualTiming = s.Int(13) != 0;
  q.finalSize = static_cast<int>(s.Int(14));
  q.bumpUp = static_cast<int>(s.Int(15));
  q.finalMinutes = static_cast<int>(s.Int(16));
  m.points = PointsOf(s.Text(17));
  return m;
}

// Entrants of every meeting (or one), in entry order.
std::map<meeting::MeetingId, std::vector<meeting::DriverId>> ReadEntrants(sqlite3* db, meeting::MeetingId only) {
  std::map<meeting::MeetingId, std::vector<meeting::DriverId>> entrants;
  Statement s(db, only ? "SELECT meeting, driver FROM entrants WHERE meeting = ?1 ORDER BY meeting, position"
                       : "SELECT meeting, driver FROM entrants ORDER BY meeting, position");
  if (only) s.Bind(1, only);
  while (s.Step()) entrants[s.Int(0)].push_back(s.Int(1));
  return entrants;
}

int HeatCount(sqlite3* db, meeting::MeetingId id) {
  Statement s(db, "SELECT count(*) FROM heats WHERE meeting = ?1");
  s.Bind(1, id);
  s.Step();
  return static_cast<int>(s.Int(0));
}

// Whether two meetings' settings would give other heats.
bool SameShape(const meeting::Meeting& a, const meeting::Meeting& b) {
  const auto& p = a.qualifying;
  const auto& q = b.qualifying;
  return a.format == b.format && a.entrants == b.entrants && a.rotation.lanes == b.rotation.lanes &&
         a.rotation.stintMinutes == b.rotation.stintMinutes && p.rounds == q.rounds &&
         p.roundMinutes == q.roundMinutes && p.groupSize == q.groupSize && p.firstRound == q.firstRound &&
         p.seed == q.seed && p.ranking == q.ranking && p.individualTiming == q.individualTiming &&
         p.finalSize == q.finalSize && p.bumpUp == q.bumpUp && p.finalMinutes == q.finalMinutes;
}

}  // namespace

SqliteStore::SqliteStore(std::string path, int busyWaitMs, Access access)
    : path_(std::move(path)), busyWaitMs_(busyWaitMs), access_(access) {
  Ready();
}

SqliteStore::~SqliteStore() { sqlite3_close_v2(db_); }

// Runs one public call: opens the database if it is not yet, runs the
// work, and turns any failure into the status.
template <typename Work>
static auto Guarded(meeting::StoreStatus& status, bool ready, Work&& work)
    -> std::optional<decltype(work())> {
  if (!ready) return std::nullopt;
  try {
    auto value = work();
    status = {};
    return value;
  } catch (const SqlFailure& failure) {
    status = {ProblemOf(failure.code), failure.message};
  } catch (const RuleFailure& failure) {
    status = {StoreProblem::Invalid, failure.message};
  } catch (const std::exception& e) {
    status = {StoreProblem::Corrupt, e.what()};
  }
  return std::nullopt;
}

bool SqliteStore::Ready() {
  if (db_ != nullptr) return true;
  sqlite3* db = nullptr;
  const bool readOnly = access_ == Access::ReadOnly;
  const int flags =
      (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) | SQLITE_OPEN_NOMUTEX;
  const int rc = sqlite3_open_v2(path_.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK && readOnly && (rc & 0xff) == SQLITE_CANTOPEN && !std::filesystem::exists(path_)) {
    status_ = {StoreProblem::Missing, {}};
    sqlite3_close_v2(db);
    return false;
  }
  if (rc != SQLITE_OK) {
    status_ = {ProblemOf(rc), db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)};
    sqlite3_close_v2(db);
    return false;
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, busyWaitMs_);
  if (readOnly) return ReadyForReading(db);
  try {
    if (sqlite3_db_readonly(db, "main") == 1) throw SqlFailure{SQLITE_READONLY, "read-only file"};
    Exec(db, "PRAGMA foreign_keys=ON");
    {
      // Reading the header finds a file that is no database at all.
      Statement mode(db, "PRAGMA journal_mode=WAL");
      mode.Step();
      if (mode.Text(0) != "wal") throw SqlFailure{SQLITE_READONLY, "no write-ahead log: " + mode.Text(0)};
    }
    Exec(db, "PRAGMA synchronous=FULL");
    Transaction t(db);
    int version = 0;
    {
      Statement s(db, "PRAGMA user_version");
      s.Step();
      version = static_cast<int>(s.Int(0));
    }
    if (version > kStoreSchemaVersion) {
      status_ = {StoreProblem::TooNew, "schema " + std::to_string(version)};
      sqlite3_close_v2(db);
      return false;
    }
    for (int step = version; step < kSteps; ++step) Exec(db, kMigrations[step]);
    if (version < kSteps) Exec(db, ("PRAGMA user_version=" + std::to_string(kStoreSchemaVersion)).c_str());
    t.Commit();
  } catch (const SqlFailure& failure) {
    status_ = {ProblemOf(failure.code), failure.message};
    sqlite3_close_v2(db);
    return false;
  }
  db_ = db;
  status_ = {};
  return true;
}

bool SqliteStore::ReadyForReading(sqlite3* db) {
  try {
    Exec(db, "PRAGMA query_only=ON");
    // Reading the header finds a file that is no database at all.
    Statement s(db, "PRAGMA user_version");
    s.Step();
    const auto version = s.Int(0);
    if (version != kStoreSchemaVersion) {
      status_ = {version == 0 ? StoreProblem::Missing
                 : version > kStoreSchemaVersion ? StoreProblem::TooNew
                                                 : StoreProblem::Failed,
                 version == 0 ? std::string() : "schema " + std::to_string(version)};
      sqlite3_close_v2(db);
      return false;
    }
  } catch (const SqlFailure& failure) {
    status_ = {ProblemOf(failure.code), failure.message};
    sqlite3_close_v2(db);
    return false;
  }
  db_ = db;
  status_ = {};
  return true;
}

std::string SqliteStore::IntegrityCheck() {
  const auto text = Guarded(status_, Ready(), [&] {
    Statement s(db_, "PRAGMA integrity_check");
    std::string all;
    while (s.Step()) all += (all.empty() ? "" : "\n") + s.Text(0);
    return all;
  });
  return text.value_or(status_.detail);
}

std::optional<std::vector<meeting::Driver>> SqliteStore::Drivers() {
  return Guarded(status_, Ready(), [&] { return ReadDrivers(db_); });
}

std::optional<meeting::DriverId> SqliteStore::SaveDriver(const meeting::Driver& driver) {
  return Guarded(status_, Ready(), [&] {
    Transaction t(db_);
    if (const auto problem = meeting::CheckDriver(ReadDrivers(db_), driver)) {
      throw RuleFailure{"driver refused: problem " + std::to_string(static_cast<int>(*problem))};
    }
    meeting::DriverId id = driver.id;
    if (id == 0) {
      Statement s(db_, "INSERT INTO drivers(name, short_name, number, class, active) VALUES(?1, ?2, ?3, ?4, ?5)");
      BindDriver(s, driver);
      s.Run();
      id = sqlite3_last_insert_rowid(db_);
    } else {
      Statement s(db_, "UPDATE drivers SET name=?1, short_name=?2, number=?3, class=?4, active=?5 WHERE id=?6");
      BindDriver(s, driver);
      s.Bind(6, id).Run();
      if (sqlite3_changes(db_) != 1) throw RuleFailure{"no driver " + std::to_string(id)};
    }
    t.Commit();
    return id;
  });
}

bool SqliteStore::ApplyImport(const meeting::ImportPlan& plan) {
  return Guarded(status_, Ready(), [&] {
           if (plan.failure != meeting::ImportFailure::None) throw RuleFailure{"the file was refused"};
           Transaction t(db_);
           const auto roster = ReadDrivers(db_);
           const auto index = meeting::IndexOf(roster);
           Statement update(db_,
                            "UPDATE drivers SET name=?1, short_name=?2, number=?3, class=?4, active=?5 WHERE id=?6");
           for (const auto& change : plan.changed) {
             // A plan made against another roster is not applied.
             const auto it = index.find(change.before.id);
             if (it == index.end() || !(*it->second == change.before)) {
               throw RuleFailure{"the roster changed since the file was read"};
             }
             BindDriver(update, change.after);
             update.Bind(6, change.after.id).Run();
           }
           Statement insert(db_, "INSERT INTO drivers(name, short_name, number, class, active) VALUES(?1, ?2, ?3, ?4, ?5)");
           for (const auto& add : plan.added) {
             if (meeting::NameHolder(roster, add.driver.name, 0)) {
               throw RuleFailure{"the roster changed since the file was read"};
             }
             BindDriver(insert, add.driver);
             insert.Run();
           }
           t.Commit();
           return true;
         })
      .value_or(false);
}

std::optional<std::vector<meeting::Meeting>> SqliteStore::Meetings() {
  return Guarded(status_, Ready(), [&] {
    auto entrants = ReadEntrants(db_, 0);
    std::vector<meeting::Meeting> meetings;
    Statement s(db_, (std::string(kMeetingColumns) + " ORDER BY date, id").c_str());
    while (s.Step()) {
      meetings.push_back(MeetingOf(s));
      meetings.back().entrants = std::move(entrants[meetings.back().id]);
    }
    return meetings;
  });
}

std::optional<meeting::Meeting> SqliteStore::MeetingById(meeting::MeetingId id) {
  const auto found = Guarded(status_, Ready(), [&] {
    std::optional<meeting::Meeting> m;
    Statement s(db_, (std::string(kMeetingColumns) + " WHERE id = ?1").c_str());
    s.Bind(1, id);
    if (s.Step()) {
      m = MeetingOf(s);
      m->entrants = std::move(ReadEntrants(db_, id)[id]);
    }
    return m;
  });
  if (found && !*found) status_ = {StoreProblem::Invalid, "no meeting " + std::to_string(id)};
  return found ? *found : std::nullopt;
}

std::optional<meeting::MeetingId> SqliteStore::SaveMeeting(const meeting::Meeting& m) {
  return Guarded(status_, Ready(), [&] {
    if (meeting::CheckMeeting(m)) throw RuleFailure{"the meeting's settings are not sound"};
    Transaction t(db_);
    meeting::MeetingId id = m.id;
    const auto bind = [&](Statement& s) {
      const auto& q = m.qualifying;
      s.Bind(1, meeting::IsoDate(m.date)).Bind(2, m.name).Bind(3, m.className);
      s.Bind(4, m.format == meeting::Format::QualifyingFinals ? 1 : 0).Bind(5, m.rotation.lanes);
      s.Bind(6, m.rotation.stintMinutes).Bind(7, q.rounds).Bind(8, q.roundMinutes).Bind(9, q.groupSize);
      s.Bind(10, q.firstRound == meeting::FirstRoundOrder::Entry ? 1 : 0).Bind(11, static_cast<std::int64_t>(q.seed));
      s.Bind(12, q.ranking == meeting::QualifyingRanking::RoundPoints ? 1 : 0).Bind(13, q.individualTiming ? 1 : 0);
      s.Bind(14, q.finalSize).Bind(15, q.bumpUp).Bind(16, q.finalMinutes).Bind(17, PointsText(m.points));
    };
    if (id == 0) {
      Statement s(db_,
                  "INSERT INTO meetings(date, name, class, format, lanes, stint_minutes, rounds, round_minutes,"
                  " group_size, first_round, seed, ranking, individual_timing, final_size, bump_up, final_minutes,"
                  " points) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16,?17)");
      bind(s);
      s.Run();
      id = sqlite3_last_insert_rowid(db_);
    } else {
      Statement old(db_, (std::string(kMeetingColumns) + " WHERE id = ?1").c_str());
      old.Bind(1, id);
      if (!old.Step()) throw RuleFailure{"no meeting " + std::to_string(id)};
      meeting::Meeting before = MeetingOf(old);
      before.entrants = std::move(ReadEntrants(db_, id)[id]);
      if (HeatCount(db_, id) > 0 && !SameShape(before, m)) {
        throw RuleFailure{"the heats are lined up: format, drivers and heat settings stay as they are"};
      }
      Statement s(db_,
                  "UPDATE meetings SET date=?1, name=?2, class=?3, format=?4, lanes=?5, stint_minutes=?6, rounds=?7,"
                  " round_minutes=?8, group_size=?9, first_round=?10, seed=?11, ranking=?12, individual_timing=?13,"
                  " final_size=?14, bump_up=?15, final_minutes=?16, points=?17 WHERE id=?18");
      bind(s);
      s.Bind(18, id).Run();
      Statement clear(db_, "DELETE FROM entrants WHERE meeting = ?1");
      clear.Bind(1, id).Run();
    }
    Statement entrant(db_, "INSERT INTO entrants(meeting, position, driver) VALUES(?1, ?2, ?3)");
    for (std::size_t i = 0; i < m.entrants.size(); ++i) {
      entrant.Bind(1, id).Bind(2, static_cast<std::int64_t>(i)).Bind(3, m.entrants[i]).Run();
    }
    t.Commit();
    return id;
  });
}

std::optional<std::vector<meeting::StoredHeat>> SqliteStore::Heats(meeting::MeetingId id) {
  return Guarded(status_, Ready(), [&] {
    std::vector<meeting::StoredHeat> heats;
    std::map<int, std::size_t> byNumber;
    Statement s(db_,
                "SELECT number, stage, round, grp, minutes, cars, common_timing, race_id FROM heats WHERE meeting = ?1"
                " ORDER BY number");
    s.Bind(1, id);
    while (s.Step()) {
      meeting::StoredHeat h;
      auto& slot = h.heat.slot;
      slot.number = static_cast<int>(s.Int(0));
      slot.stage = static_cast<meeting::Stage>(std::min<std::int64_t>(2, std::max<std::int64_t>(0, s.Int(1))));
      slot.round = static_cast<int>(s.Int(2));
      slot.group = static_cast<int>(s.Int(3));
      slot.minutes = static_cast<int>(s.Int(4));
      slot.cars = static_cast<int>(s.Int(5));
      slot.commonTiming = s.Int(6) != 0;
      if (!s.IsNull(7)) h.raceId = s.Text(7);
      byNumber[slot.number] = heats.size();
      heats.push_back(std::move(h));
    }
    Statement seats(db_, "SELECT heat, car, driver FROM seats WHERE meeting = ?1 ORDER BY heat, car");
    seats.Bind(1, id);
    while (seats.Step()) {
      if (const auto it = byNumber.find(static_cast<int>(seats.Int(0))); it != byNumber.end()) {
        heats[it->second].heat.seats.push_back({static_cast<int>(seats.Int(1)), seats.Int(2)});
      }
    }
    return heats;
  });
}

bool SqliteStore::AddHeats(meeting::MeetingId id, const std::vector<meeting::Heat>& heats) {
  return Guarded(status_, Ready(), [&] {
           Transaction t(db_);
           int next = HeatCount(db_, id) + 1;
           Statement heat(db_,
                          "INSERT INTO heats(meeting, number, stage, round, grp, minutes, cars, common_timing)"
                          " VALUES(?1,?2,?3,?4,?5,?6,?7,?8)");
           Statement seat(db_, "INSERT INTO seats(meeting, heat, car, driver) VALUES(?1,?2,?3,?4)");
           for (const auto& h : heats) {
             if (h.slot.number != next) throw RuleFailure{"heat " + std::to_string(h.slot.number) + " out of order"};
             const auto& s = h.slot;
             heat.Bind(1, id).Bind(2, s.number).Bind(3, static_cast<int>(s.stage)).Bind(4, s.round).Bind(5, s.group);
             heat.Bind(6, s.minutes).Bind(7, s.cars).Bind(8, s.commonTiming ? 1 : 0).Run();
             for (const auto& place : h.seats) seat.Bind(1, id).Bind(2, s.number).Bind(3, place.car).Bind(4, place.driver).Run();
             ++next;
           }
           t.Commit();
           return true;
         })
      .value_or(false);
}

bool SqliteStore::LinkRace(meeting::MeetingId id, int heat, const std::string& raceId) {
  return Guarded(status_, Ready(), [&] {
           if (!meeting::IsRaceId(raceId)) throw RuleFailure{"not a race: " + raceId};
           Transaction t(db_);
           // A race runs one heat: a link it had elsewhere goes.
           Statement unlink(db_, "UPDATE heats SET race_id = NULL, has_result = 0 WHERE race_id = ?1");
           unlink.Bind(1, raceId).Run();
           Statement drop(db_, "DELETE FROM results WHERE meeting = ?1 AND heat = ?2");
           drop.Bind(1, id).Bind(2, heat).Run();
           Statement link(db_, "UPDATE heats SET race_id = ?3, has_result = 0 WHERE meeting = ?1 AND number = ?2");
           link.Bind(1, id).Bind(2, heat).Bind(3, raceId).Run();
           if (sqlite3_changes(db_) != 1) throw RuleFailure{"no heat " + std::to_string(heat)};
           t.Commit();
           return true;
         })
      .value_or(false);
}

std::optional<std::optional<meeting::HeatLink>> SqliteStore::HeatOfRace(const std::string& raceId) {
  return Guarded(status_, Ready(), [&] {
    std::optional<meeting::HeatLink> link;
    Statement s(db_, "SELECT meeting, number FROM heats WHERE race_id = ?1");
    s.Bind(1, raceId);
    if (s.Step()) link = meeting::HeatLink{s.Int(0), static_cast<int>(s.Int(1))};
    return link;
  });
}

bool SqliteStore::EnterResult(meeting::MeetingId id, const meeting::HeatResult& result) {
  return Guarded(status_, Ready(), [&] {
           if (meeting::CheckResult(result)) throw RuleFailure{"the result is not sound"};
           Transaction t(db_);
           {
             Statement linked(db_, "SELECT race_id FROM heats WHERE meeting = ?1 AND number = ?2");
             linked.Bind(1, id).Bind(2, result.heat);
             if (!linked.Step() || linked.Text(0) != result.raceId) {
               throw RuleFailure{"race " + result.raceId + " is not heat " + std::to_string(result.heat) + "'s"};
             }
           }
           Statement drop(db_, "DELETE FROM results WHERE meeting = ?1 AND heat = ?2");
           drop.Bind(1, id).Bind(2, result.heat).Run();
           Statement row(db_,
                         "INSERT INTO results(meeting, heat, car, laps, time_ms, best_lap_ms, status)"
                         " VALUES(?1,?2,?3,?4,?5,?6,?7)");
           for (const auto& c : result.cars) {
             row.Bind(1, id).Bind(2, result.heat).Bind(3, c.car).Bind(4, c.laps).Bind(5, c.timeMs);
             row.Bind(6, c.bestLapMs).Bind(7, static_cast<int>(c.status)).Run();
           }
           Statement mark(db_, "UPDATE heats SET has_result = 1 WHERE meeting = ?1 AND number = ?2");
           mark.Bind(1, id).Bind(2, result.heat).Run();
           t.Commit();
           return true;
         })
      .value_or(false);
}

std::optional<std::vector<meeting::HeatResult>> SqliteStore::Results(meeting::MeetingId id) {
  return Guarded(status_, Ready(), [&] {
    std::vector<meeting::HeatResult> results;
    std::map<int, std::size_t> byHeat;
    Statement heats(db_, "SELECT number, race_id FROM heats WHERE meeting = ?1 AND has_result = 1 ORDER BY number");
    heats.Bind(1, id);
    while (heats.Step()) {
      byHeat[static_cast<int>(heats.Int(0))] = results.size();
      results.push_back({static_cast<int>(heats.Int(0)), heats.Text(1), {}});
    }
    Statement rows(db_,
                   "SELECT heat, car, laps, time_ms, best_lap_ms, status FROM results WHERE meeting = ?1 ORDER BY heat, car");
    rows.Bind(1, id);
    while (rows.Step()) {
      const auto it = byHeat.find(static_cast<int>(rows.Int(0)));
      if (it == byHeat.end()) continue;
      meeting::CarResult c;
      c.car = static_cast<int>(rows.Int(1));
      c.laps = static_cast<int>(rows.Int(2));
      c.timeMs = rows.Int(3);
      c.bestLapMs = rows.Int(4);
      c.status = static_cast<meeting::CarStatus>(std::min<std::int64_t>(2, std::max<std::int64_t>(0, rows.Int(5))));
      results[it->second].cars.push_back(c);
    }
    return results;
  });
}

}  // namespace platform
