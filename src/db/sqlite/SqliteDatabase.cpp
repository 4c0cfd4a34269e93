#include "db/sqlite/SqliteDatabase.h"

#include <sqlite3.h>

#include <filesystem>
#include <mutex>
#include <system_error>

#include "db/engine/QueryRecordset.h"
#include "db/platform/Files.h"
#include "db/sqlite/SchemaReader.h"
#include "db/sqlite/SqliteErrorText.h"
#include "db/sqlite/SqliteQueryRecordset.h"
#include "db/sqlite/SqliteStatement.h"
#include "db/sqlite/SqliteTableDef.h"
#include "db/sqlite/SqliteTableRecordset.h"

namespace veltra::db::engine {

namespace {
// Marks the files this program creates ("VELT").
constexpr int ApplicationId = 0x56454C54;
constexpr int BusyTimeoutMs = 10000;
// About a millisecond of engine work between calls of the progress hook.
constexpr int ProgressSteps = 20000;

int callProgressHook(void* hook) {
  if (const auto& call = *static_cast<const EngineDatabase::ProgressHook*>(hook)) call();
  return 0;  // never interrupts the statement
}

// Before the first handle: the program keeps no memory statistics, and the
// library's own counters cost a lock on every allocation.
void configureLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
}

sqlite3* openHandle(const std::string& path, int flags, EngineStatus& status) {
  configureLibrary();
  sqlite3* db = nullptr;
  // A handle is used by one thread at a time, so it needs no locks of its own.
  const int code = sqlite3_open_v2(path.c_str(), &db,
                                   flags | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (code != SQLITE_OK) {
    status =
        describeOpenFailure(path, code, db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, BusyTimeoutMs);
  status = EngineStatus::success();
  return db;
}

EngineStatus runOn(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  const int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  if (code == SQLITE_OK) return EngineStatus::success();
  std::string text = message != nullptr ? message : sqlite3_errstr(code);
  sqlite3_free(message);
  return describeEngineFailure(sqlite3_extended_errcode(db), text);
}
}  // namespace

SqliteDatabase::SqliteDatabase(sqlite3* db, std::string path)
    : EngineDatabase(std::move(path)), db_(db) {
  watchProgress(db_, progressHook_);
}

void SqliteDatabase::watchProgress(sqlite3* db, const ProgressHook& hook) {
  sqlite3_progress_handler(db, ProgressSteps, &callProgressHook, const_cast<ProgressHook*>(&hook));
}

// A destructor has no one to tell: callers that must know how the file was
// left call close() themselves.
SqliteDatabase::~SqliteDatabase() {
  static_cast<void>(close());
}

std::unique_ptr<SqliteDatabase> SqliteDatabase::create(const std::string& path,
                                                       EngineStatus& status) {
  std::error_code ec;
  if (path.empty() || std::filesystem::exists(platform::FilePath(path), ec)) {
    status = EngineStatus::failure("Il file \"" + path +
                                   "\" esiste già: il database non può essere creato.");
    return nullptr;
  }
  sqlite3* db = openHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, status);
  if (db == nullptr) return nullptr;
  status = runOn(db, "PRAGMA application_id = " + std::to_string(ApplicationId) +
                         "; PRAGMA foreign_keys = ON;");
  if (!status) {
    sqlite3_close(db);
    std::filesystem::remove(platform::FilePath(path), ec);
    return nullptr;
  }
  return std::unique_ptr<SqliteDatabase>(new SqliteDatabase(db, path));
}

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const std::string& path,
                                                     EngineStatus& status) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(platform::FilePath(path), ec)) {
    status = EngineStatus::failure(
        withSystemReason("Il file \"" + path + "\" non esiste o non è un file.", path),
        SQLITE_CANTOPEN);
    return nullptr;
  }
  // SQLite takes an empty file for an empty database; here it is no database at all.
  if (std::filesystem::file_size(platform::FilePath(path), ec) == 0) {
    status = EngineStatus::failure("Il file \"" + path + "\" è vuoto: non è un database.",
                                   SQLITE_NOTADB);
    return nullptr;
  }
  sqlite3* db = openHandle(path, SQLITE_OPEN_READWRITE, status);
  if (db == nullptr) return nullptr;
  // SQLite reads the file only now: a file that is not a database fails here.
  status = runOn(db, "SELECT count(*) FROM sqlite_master; PRAGMA foreign_keys = ON;");
  if (!status) {
    sqlite3_close(db);
    return nullptr;
  }
  return std::unique_ptr<SqliteDatabase>(new SqliteDatabase(db, path));
}

EngineStatus SqliteDatabase::close() {
  if (db_ == nullptr) return EngineStatus::success();
  if (inTransaction()) rollback();
  const int code = sqlite3_close(db_);
  if (code != SQLITE_OK) {
    EngineStatus status = describeEngineFailure(code, sqlite3_errmsg(db_));
    sqlite3_close_v2(db_);  // released as soon as the last statement goes
    db_ = nullptr;
    return status;
  }
  db_ = nullptr;
  return EngineStatus::success();
}

std::string SqliteDatabase::versionText() const {
  return std::string("SQLite ") + sqlite3_libversion();
}

EngineStatus SqliteDatabase::stillInPlace() const {
  int moved = 0;
  if (db_ == nullptr ||
      sqlite3_file_control(db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK || moved == 0)
    return EngineStatus::success();
  return EngineStatus::failure("Il file " + path() +
                               " è stato spostato o cancellato dopo la connessione.");
}

std::unique_ptr<TableDef> SqliteDatabase::createTableDef(const std::string& name) {
  return std::make_unique<SqliteTableDef>(*this, name);
}

std::unique_ptr<TableRecordset> SqliteDatabase::openTable(const TableInfo& table,
                                                          EngineStatus& status) {
  status = EngineStatus::success();
  return std::make_unique<SqliteTableRecordset>(*this, table);
}

std::unique_ptr<QueryRecordset> SqliteDatabase::openQuery(const std::string& jetSql,
                                                          EngineStatus& status) {
  return SqliteQueryRecordset::create(*this, jetSql, status);
}

EngineStatus SqliteDatabase::loadTable(const std::string& name, TableInfo& info) const {
  return readTableInfo(db_, name, info);
}

// For looking at what a file holds: one that cannot be read lists no tables.
// The adapter's own work asks readTableNames, which tells the failure.
std::vector<std::string> SqliteDatabase::tableNames() const {
  EngineStatus status;
  return readTableNames(db_, status);
}

EngineStatus SqliteDatabase::begin() {
  return runOn(db_, "BEGIN IMMEDIATE");
}
EngineStatus SqliteDatabase::commit() {
  return runOn(db_, "COMMIT");
}
void SqliteDatabase::rollback() {
  // Only ever cleanup: after a failure that is already being reported, or on
  // the way out, where closing the handle rolls back whatever is left.
  if (inTransaction()) static_cast<void>(runOn(db_, "ROLLBACK"));
}
bool SqliteDatabase::inTransaction() const {
  return db_ != nullptr && sqlite3_get_autocommit(db_) == 0;
}

EngineStatus SqliteDatabase::execute(const std::string& sql) {
  return runOn(db_, sql);
}

}  // namespace veltra::db::engine
