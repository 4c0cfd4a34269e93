#include "db/engine/Repair.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "db/engine/BrokenRelations.h"
#include "db/engine/RowRescue.h"
#include "db/engine/SqliteDatabase.h"
#include "db/engine/Statement.h"
#include "db/engine/TableDef.h"

namespace veltra::db::engine {

bool RepairReport::lostNothing() const {
  return std::all_of(tables.begin(), tables.end(), [](const TableRescue& rescue) {
    return rescue.setAside == 0 && rescue.unreadable == 0 && rescue.rebuilt == 0 &&
           !rescue.unknownLosses;
  });
}

namespace {

// The damaged file, open for reading only. Its schema may be writable for
// this handle: only so does SQLite read a file cut short, up to its last
// page; query_only keeps the handle from writing anything at all.
class DamagedFile {
 public:
  DamagedFile() = default;
  ~DamagedFile() { close(); }
  DamagedFile(const DamagedFile&) = delete;
  DamagedFile& operator=(const DamagedFile&) = delete;

  EngineStatus open(const std::string& path) {
    const int code = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    if (code != SQLITE_OK) return engineFailure(db_, code);
    sqlite3_extended_result_codes(db_, 1);
    const int read = sqlite3_exec(db_,
                                  "PRAGMA query_only = ON; PRAGMA writable_schema = ON;"
                                  "SELECT count(*) FROM sqlite_master",
                                  nullptr, nullptr, nullptr);
    return read == SQLITE_OK ? EngineStatus::success()
                             : engineFailure(db_, sqlite3_extended_errcode(db_));
  }
  void close() {
    sqlite3_close(db_);
    db_ = nullptr;
  }
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// "ok", or the findings of the check joined by line feeds.
std::string integrityFindings(sqlite3* db) {
  EngineStatus status;
  Statement stmt(db, "PRAGMA integrity_check", status);
  if (!status) return status.text;
  std::string findings;
  while (stmt.step(status)) findings += (findings.empty() ? "" : "\n") + stmt.columnText(0);
  if (!status) return status.text;
  return findings;
}

std::string foreignKeyFindings(sqlite3* db) {
  EngineStatus status;
  Statement stmt(db, "PRAGMA foreign_key_check", status);
  if (!status) return status.text;
  if (stmt.step(status))
    return "riferimenti senza record corrispondente nella tavola \"" + stmt.columnText(0) + "\"";
  return status ? std::string() : status.text;
}

struct SchemaObject {
  std::string type, name, sql;
};

std::vector<SchemaObject> schemaOf(sqlite3* db, EngineStatus& status) {
  std::vector<SchemaObject> objects;
  Statement stmt(db,
                 "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL "
                 "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY type = 'index', rowid",
                 status);
  if (!status) return objects;
  while (stmt.step(status))
    objects.push_back({stmt.columnText(0), stmt.columnText(1), stmt.columnText(2)});
  return objects;
}

// These run after one another on one status: an earlier failure stays, as
// a new statement would otherwise overwrite it with its own success.
std::int64_t pragmaNumber(sqlite3* db, const std::string& pragma, EngineStatus& status) {
  if (!status) return 0;
  Statement stmt(db, "PRAGMA " + pragma, status);
  return status && stmt.step(status) ? stmt.columnInt(0) : 0;
}

std::int64_t rowCount(SqliteDatabase& db, const std::string& table, EngineStatus& status) {
  if (!status) return 0;
  Statement stmt(db.handle(), "SELECT count(*) FROM " + quoteIdentifier(table), status);
  return status && stmt.step(status) ? stmt.columnInt(0) : 0;
}

std::string freeName(const std::string& base) {
  std::error_code ec;
  for (int n = 1;; ++n) {
    std::string candidate = base + (n > 1 ? "-" + std::to_string(n) : "");
    if (!std::filesystem::exists(candidate, ec)) return candidate;
  }
}

// Creates the objects of the schema of one kind.
EngineStatus createObjects(SqliteDatabase& db, const std::vector<SchemaObject>& schema,
                           bool (*wanted)(const SchemaObject&)) {
  for (const auto& object : schema)
    if (wanted(object))
      if (auto status = db.execute(object.sql); !status) return status;
  return EngineStatus::success();
}

bool isTable(const SchemaObject& object) {
  return object.type == "table";
}
bool isIndex(const SchemaObject& object) {
  return object.type == "index";
}
// Triggers would act on the rows copied, views need their tables: both come last.
bool comesLast(const SchemaObject& object) {
  return !isTable(object) && !isIndex(object);
}

// The file's markers, so the program recognises the copy as its own.
EngineStatus copyMarkers(sqlite3* damaged, SqliteDatabase& copy) {
  EngineStatus status;
  const auto id = pragmaNumber(damaged, "application_id", status);
  const auto version = pragmaNumber(damaged, "user_version", status);
  if (!status) return status;
  return copy.execute("PRAGMA foreign_keys = OFF; PRAGMA application_id = " + std::to_string(id) +
                      "; PRAGMA user_version = " + std::to_string(version));
}

// The rows of every table; then the relations made whole again.
EngineStatus copyRows(sqlite3* damaged, SqliteDatabase& copy,
                      const std::vector<SchemaObject>& schema, RepairReport& report) {
  SetAsideRows setAside(copy);
  for (const auto& object : schema) {
    if (!isTable(object)) continue;
    report.tables.push_back(TableRescue{object.name});
    if (auto status = rescueRows(damaged, copy, setAside, report.tables.back()); !status)
      return status;
  }
  if (auto status = settleRelations(copy, setAside, report.tables); !status) return status;
  EngineStatus status;
  for (TableRescue& rescue : report.tables)
    rescue.kept = rowCount(copy, rescue.table, status) - rescue.rebuilt;
  return status;
}

// The schema and every readable row of the damaged file, in one transaction.
// The indexes come before the rows, so a row that breaks a unique key is set
// aside instead of the key being lost.
EngineStatus fillCopy(sqlite3* damaged, SqliteDatabase& copy,
                      const std::vector<SchemaObject>& schema, RepairReport& report) {
  EngineStatus status = copyMarkers(damaged, copy);
  if (!status) return status;
  Transaction transaction(copy);
  if (status = transaction.status(); !status) return status;
  if (status = createObjects(copy, schema, isTable); !status) return status;
  if (status = createObjects(copy, schema, isIndex); !status) return status;
  if (status = copyRows(damaged, copy, schema, report); !status) return status;
  if (status = createObjects(copy, schema, comesLast); !status) return status;
  return transaction.commit();
}

// "ok" when the closed copy is sound and every relation holds in it.
std::string verifiedCopy(SqliteDatabase& copy, EngineStatus filled) {
  std::string findings = filled ? integrityFindings(copy.handle()) : filled.text;
  if (findings == "ok") {
    const std::string orphans = foreignKeyFindings(copy.handle());
    if (!orphans.empty()) findings = orphans;
  }
  // A copy that will not close is not taken either; an earlier finding already says why.
  if (const EngineStatus closed = copy.close(); !closed && findings == "ok") findings = closed.text;
  return findings;
}

EngineStatus copyLeftBeside(const std::string& copyPath, const std::string& reason) {
  return EngineStatus::failure("La copia riparata è in \"" + copyPath +
                               "\" ma non ha potuto prendere il posto del file: " + reason);
}

void notify(const RepairObserver& observer, RepairStep step) {
  if (observer) observer(step);
}

// Makes the renames in the folder last through a power cut.
void syncFolderOf(const std::string& path) {
  const std::string folder = std::filesystem::absolute(path).parent_path().string();
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  static_cast<void>(::fsync(fd));
  ::close(fd);
}

// The damaged file gains a second name first (a hard link, or a copy where
// the file system has none); then one rename puts the copy at the path.
EngineStatus putCopyInPlace(const std::string& path, const std::string& copyPath,
                            RepairReport& report, const RepairObserver& observer) {
  const std::string beside = freeName(path + ".danneggiato");
  std::error_code ec;
  std::filesystem::create_hard_link(path, beside, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(beside, ignored);
    ec.clear();
    std::filesystem::copy_file(path, beside, ec);
  }
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(beside, ignored);
    return copyLeftBeside(copyPath, ec.message());
  }
  report.keptBeside = beside;
  notify(observer, RepairStep::OriginalKeptBeside);
  std::filesystem::rename(copyPath, path, ec);
  if (ec) return copyLeftBeside(copyPath, ec.message());
  syncFolderOf(path);
  notify(observer, RepairStep::CopyInPlace);
  return EngineStatus::success();
}

EngineStatus saveIntoCopy(DamagedFile& damaged, const std::string& path,
                          const std::string& findings, RepairReport& report,
                          const RepairObserver& observer) {
  EngineStatus status;
  const auto schema = schemaOf(damaged.handle(), status);
  if (!status || schema.empty())
    return EngineStatus::failure(
        "Il database non può essere riparato: lo schema non è leggibile.\n" + findings);
  const std::string copyPath = freeName(path + ".riparazione");
  auto copy = SqliteDatabase::create(copyPath, status);
  if (!copy) return status;
  const std::string copyFindings =
      verifiedCopy(*copy, fillCopy(damaged.handle(), *copy, schema, report));
  if (copyFindings != "ok") {
    report.tables.clear();
    std::error_code ec;
    std::filesystem::remove(copyPath, ec);
    return EngineStatus::failure("Il database non può essere riparato.\n" + findings + "\n" +
                                 copyFindings);
  }
  notify(observer, RepairStep::CopyVerified);
  // The original must be let go before it is moved aside.
  damaged.close();
  return putCopyInPlace(path, copyPath, report, observer);
}

}  // namespace

EngineStatus repairInPlace(const std::string& path, RepairReport& report,
                           const RepairObserver& observer, const std::function<void()>& progress) {
  report = {};
  // What is no database at all is refused as the program refuses it anywhere;
  // a file damaged past its first page is read by the handle below.
  EngineStatus status;
  auto checked = SqliteDatabase::open(path, status);
  if (checked) checked->setProgressHook(progress);
  if (!checked && (status.code & 0xff) != SQLITE_CORRUPT) return status;
  // The original is only read: whatever the repair meets, the file the user
  // had stays as it was until a checked copy takes its place.
  DamagedFile damaged;
  if (status = damaged.open(path); !status) return status;
  // SQLite skips the CHECK constraints of a file opened for reading only, so
  // the file is checked on a handle that could write, made unable to.
  sqlite3* checking = damaged.handle();
  if (checked && checked->execute("PRAGMA query_only = ON")) checking = checked->handle();
  std::string findings = integrityFindings(checking);
  if (findings == "ok") findings = foreignKeyFindings(checking);
  checked.reset();
  if (findings.empty()) return EngineStatus::success();
  return saveIntoCopy(damaged, path, findings, report, observer);
}

}  // namespace veltra::db::engine
