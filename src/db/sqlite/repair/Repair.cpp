#include "db/sqlite/repair/Repair.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "db/engine/TableDef.h"
#include "db/platform/Files.h"
#include "db/sqlite/LeftoverFiles.h"
#include "db/sqlite/SqliteDatabase.h"
#include "db/sqlite/SqliteStatement.h"
#include "db/sqlite/repair/BrokenRelations.h"
#include "db/sqlite/repair/FilePages.h"
#include "db/sqlite/repair/PageRows.h"
#include "db/sqlite/repair/RepairStatements.h"
#include "db/sqlite/repair/RowRescue.h"
#include "db/sqlite/repair/RowWitnesses.h"
#include "db/sqlite/repair/SetAsideRows.h"

namespace veltra::db::engine {

namespace {

struct CloseHandle {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
// The repair's own connections: the damaged file, the model, the copy.
using Handle = std::unique_ptr<sqlite3, CloseHandle>;

using Progress = EngineDatabase::ProgressHook;

// progress is called while the handle's statements work, so that a window
// stays painted through the check of a big file.
Handle openHandle(const std::string& path, int flags, EngineStatus& status,
                  const Progress& progress) {
  sqlite3* db = nullptr;
  const int code = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  Handle handle(db);
  if (code != SQLITE_OK) {
    status = engineFailure(db, code);
    return nullptr;
  }
  sqlite3_extended_result_codes(db, 1);
  SqliteDatabase::watchProgress(db, progress);
  // A column the damaged file's table lacks must fail the statement naming
  // it, not be read as the text of its name.
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  return handle;
}

// The damaged file, open for reading only. Its schema may be writable for
// this handle: only so does SQLite read a file cut short, up to its last
// page; query_only keeps the handle from writing anything at all. A file
// whose schema SQLite cannot read gets an empty database instead, and its
// rows come from its pages alone.
Handle openDamaged(const std::string& path, const Progress& progress) {
  EngineStatus status;
  Handle damaged = openHandle(path, SQLITE_OPEN_READONLY, status, progress);
  if (damaged && executeOn(damaged.get(),
                           "PRAGMA query_only = ON; PRAGMA writable_schema = ON;"
                           "SELECT count(*) FROM sqlite_master"))
    return damaged;
  return openHandle(":memory:", SQLITE_OPEN_READWRITE, status, progress);
}

// "ok", or the findings of the check joined by line feeds.
std::string integrityFindings(sqlite3* db) {
  EngineStatus status;
  SqliteStatement stmt(db, "PRAGMA integrity_check", status);
  if (!status) return status.text;
  std::string findings;
  while (stmt.step(status)) findings += (findings.empty() ? "" : "\n") + stmt.columnText(0);
  if (!status) return status.text;
  return findings;
}

std::string foreignKeyFindings(sqlite3* db) {
  EngineStatus status;
  SqliteStatement stmt(db, "PRAGMA foreign_key_check", status);
  if (!status) return status.text;
  if (stmt.step(status))
    return "riferimenti senza record corrispondente nella tavola \"" + stmt.columnText(0) + "\"";
  return status ? std::string() : status.text;
}

// The first table holding a text that is not UTF-8, which no check of
// SQLite's notices.
std::string badTextFindings(sqlite3* db) {
  EngineStatus status;
  std::vector<std::string> tables;
  SqliteStatement list(db, "SELECT name FROM sqlite_master WHERE type = 'table'", status);
  while (list.step(status)) tables.push_back(list.columnText(0));
  for (const std::string& table : tables) {
    SqliteStatement rows(db, "SELECT * FROM " + quoteIdentifier(table), status);
    while (rows.step(status))
      if (const auto column = columnWithBadText(rows))
        return "testo non valido nel campo " + *column + " della tavola " + table;
  }
  return status ? std::string() : status.text;
}

// Empty for a sound file; otherwise what the checks found. SQLite skips the
// CHECK constraints of a file opened for reading only, so the file is checked
// on a handle that could write, made unable to.
std::string damageFindings(const std::string& path, const Progress& progress) {
  EngineStatus status;
  const Handle checking = openHandle(path, SQLITE_OPEN_READWRITE, status, progress);
  if (!checking) return status.text;
  if (status = executeOn(checking.get(), "PRAGMA query_only = ON"); !status) return status.text;
  const std::string findings = integrityFindings(checking.get());
  if (findings != "ok") return findings;
  const std::string orphans = foreignKeyFindings(checking.get());
  return orphans.empty() ? badTextFindings(checking.get()) : orphans;
}

struct SchemaObject {
  std::string type, name, sql;
};

std::vector<SchemaObject> schemaOf(sqlite3* db, EngineStatus& status) {
  std::vector<SchemaObject> objects;
  SqliteStatement stmt(db,
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
  SqliteStatement stmt(db, "PRAGMA " + pragma, status);
  return status && stmt.step(status) ? stmt.columnInt(0) : 0;
}

std::int64_t rowCount(sqlite3* db, const std::string& table, EngineStatus& status) {
  if (!status) return 0;
  SqliteStatement stmt(db, "SELECT count(*) FROM " + quoteIdentifier(table), status);
  return status && stmt.step(status) ? stmt.columnInt(0) : 0;
}

std::string freeName(const std::string& base) {
  std::error_code ec;
  for (int n = 1;; ++n) {
    std::string candidate = base + (n > 1 ? "-" + std::to_string(n) : "");
    if (!std::filesystem::exists(platform::FilePath(candidate), ec)) return candidate;
  }
}

// Creates the objects of the schema of one kind.
EngineStatus createObjects(sqlite3* db, const std::vector<SchemaObject>& schema,
                           bool (*wanted)(const SchemaObject&)) {
  for (const auto& object : schema)
    if (wanted(object))
      if (auto status = executeOn(db, object.sql); !status) return status;
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

// The model's markers, so the program recognises the copy as its own.
EngineStatus copyMarkers(sqlite3* model, sqlite3* copy) {
  EngineStatus status;
  const auto id = pragmaNumber(model, "application_id", status);
  const auto version = pragmaNumber(model, "user_version", status);
  if (!status) return status;
  return executeOn(copy,
                   "PRAGMA foreign_keys = OFF; PRAGMA application_id = " + std::to_string(id) +
                       "; PRAGMA user_version = " + std::to_string(version));
}

std::vector<TableShape> shapesOf(sqlite3* copy, const std::vector<SchemaObject>& schema,
                                 EngineStatus& status) {
  std::vector<TableShape> shapes;
  for (const auto& object : schema) {
    if (!isTable(object)) continue;
    SqliteStatement columns(copy, "SELECT name, type FROM pragma_table_info(?)", status);
    columns.bindText(1, object.name);
    TableShape& shape = shapes.emplace_back(TableShape{object.name, {}, {}});
    while (status && columns.step(status)) {
      shape.columns.push_back(columns.columnText(0));
      shape.declaredTypes.push_back(columns.columnText(1));
    }
    if (!status) break;
  }
  return shapes;
}

// The rows of every table, through SQLite and from the file's pages; then
// the rows whose relations broke set aside.
EngineStatus copyRows(sqlite3* damaged, const FilePages& pages, sqlite3* copy,
                      const std::vector<SchemaObject>& schema, RepairReport& report) {
  EngineStatus status;
  const auto shapes = shapesOf(copy, schema, status);
  if (!status) return status;
  const IndexWitness named = indexWitnessOn(damaged);
  const IndexWitness accepted = copyWitnessOn(copy);
  auto pageRows = rowsOnPages(pages, shapes, [&](const TableShape& table, const StoredRow& row) {
    return accepted(table, row) && named(table, row);
  });
  SetAsideRows setAside(copy);
  for (const TableShape& shape : shapes) {
    report.tables.push_back(TableRescue{shape.name});
    if (status = rescueRows(damaged, copy, setAside, shape, named, pageRows[shape.name],
                            report.tables.back());
        !status)
      return status;
  }
  if (status = settleRelations(copy, setAside, report.tables); !status) return status;
  for (TableRescue& rescue : report.tables) rescue.kept = rowCount(copy, rescue.table, status);
  return status;
}

// The schema and every readable row of the damaged file, in one transaction.
// The indexes come before the rows, so a row that breaks a unique key is set
// aside instead of the key being lost.
EngineStatus fillCopy(sqlite3* damaged, const FilePages& pages, sqlite3* model, sqlite3* copy,
                      RepairReport& report) {
  EngineStatus status;
  const auto schema = schemaOf(model, status);
  if (!status) return status;
  if (status = copyMarkers(model, copy); !status) return status;
  if (status = executeOn(copy, "BEGIN"); !status) return status;
  if (status = createObjects(copy, schema, isTable); !status) return status;
  if (status = createObjects(copy, schema, isIndex); !status) return status;
  if (status = copyRows(damaged, pages, copy, schema, report); !status) return status;
  if (status = createObjects(copy, schema, comesLast); !status) return status;
  return executeOn(copy, "COMMIT");
}

// "ok" when the closed copy is sound and every relation holds in it.
std::string verifiedCopy(Handle copy, const EngineStatus& filled) {
  std::string findings = filled ? integrityFindings(copy.get()) : filled.text;
  if (findings == "ok") {
    const std::string orphans = foreignKeyFindings(copy.get());
    if (!orphans.empty()) findings = orphans;
  }
  // A copy that will not close is not taken either; an earlier finding already says why.
  if (sqlite3_close(copy.release()) != SQLITE_OK && findings == "ok")
    findings = "La copia riparata non ha potuto essere chiusa.";
  return findings;
}

EngineStatus copyLeftBeside(const std::string& copyPath, const std::string& reason) {
  return EngineStatus::failure("La copia riparata è in \"" + copyPath +
                               "\" ma non ha potuto prendere il posto del file: " + reason);
}

void notify(const RepairObserver& observer, RepairStep step) {
  if (observer) observer(step);
}

// The damaged file gains a second name first (a hard link, or a copy where
// the file system has none); then one rename puts the copy at the path.
EngineStatus putCopyInPlace(const std::string& path, const std::string& copyPath,
                            RepairReport& report, const RepairObserver& observer) {
  const std::string beside = freeName(path + ".danneggiato");
  std::error_code ec;
  std::filesystem::create_hard_link(platform::FilePath(path), platform::FilePath(beside), ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(platform::FilePath(beside), ignored);
    ec.clear();
    std::filesystem::copy_file(platform::FilePath(path), platform::FilePath(beside), ec);
  }
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(platform::FilePath(beside), ignored);
    return copyLeftBeside(copyPath, ec.message());
  }
  report.keptBeside = beside;
  notify(observer, RepairStep::OriginalKeptBeside);
  std::filesystem::rename(platform::FilePath(copyPath), platform::FilePath(path), ec);
  if (ec) return copyLeftBeside(copyPath, ec.message());
  platform::SyncFolderOf(path);
  notify(observer, RepairStep::CopyInPlace);
  return EngineStatus::success();
}

EngineStatus saveIntoCopy(const std::string& path, const std::string& modelPath,
                          const FilePages& pages, const std::string& findings, RepairReport& report,
                          const RepairObserver& observer, const Progress& progress) {
  EngineStatus status;
  const Handle model = openHandle(modelPath, SQLITE_OPEN_READONLY, status, progress);
  if (!model) return status;
  const std::string copyPath = path + ".riparazione";
  Handle copy = openHandle(copyPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, status, progress);
  if (!copy) return status;
  EngineStatus filled;
  {
    const Handle damaged = openDamaged(path, progress);
    filled = fillCopy(damaged.get(), pages, model.get(), copy.get(), report);
  }  // The original must be let go before it is moved aside.
  const std::string copyFindings = verifiedCopy(std::move(copy), filled);
  if (copyFindings != "ok") {
    report.tables.clear();
    removeDatabaseFiles(copyPath);
    return EngineStatus::failure("Il database non può essere riparato.\n" + findings + "\n" +
                                 copyFindings);
  }
  notify(observer, RepairStep::CopyVerified);
  return putCopyInPlace(path, copyPath, report, observer);
}

}  // namespace

EngineStatus repairInPlace(const std::string& path, const std::string& model, RepairReport& report,
                           const RepairObserver& observer, const Progress& progress) {
  report = {};
  removeDatabaseFiles(path + ".riparazione");
  // What is no database at all is refused as the program refuses it anywhere;
  // a file damaged past its first page is read by the program's own reader.
  const auto pages = FilePages::read(path);
  if (!pages) {
    EngineStatus status;
    SqliteDatabase::open(path, status);
    return status ? EngineStatus::failure("Il file \"" + path + "\" non è un database.") : status;
  }
  // The original is only read: whatever the repair meets, the file the user
  // had stays as it was until a checked copy takes its place.
  const std::string findings = damageFindings(path, progress);
  if (findings.empty()) return EngineStatus::success();
  return saveIntoCopy(path, model, *pages, findings, report, observer, progress);
}

}  // namespace veltra::db::engine
