#include "db/engine/Repair.h"

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "db/engine/EngineDatabase.h"
#include "db/engine/ErrorText.h"
#include "db/engine/Statement.h"
#include "db/engine/TableDef.h"

namespace veltra::db::engine {

namespace {

// "ok", or the findings of the check joined by line feeds.
std::string integrityFindings(EngineDatabase& db) {
  EngineStatus status;
  Statement stmt(db.handle(), "PRAGMA integrity_check", status);
  if (!status) return status.text;
  std::string findings;
  while (stmt.step(status)) findings += (findings.empty() ? "" : "\n") + stmt.columnText(0);
  if (!status) return status.text;
  return findings;
}

std::string foreignKeyFindings(EngineDatabase& db) {
  EngineStatus status;
  Statement stmt(db.handle(), "PRAGMA foreign_key_check", status);
  if (!status) return status.text;
  if (stmt.step(status))
    return "riferimenti senza record corrispondente nella tavola \"" + stmt.columnText(0) + "\"";
  return status ? std::string() : status.text;
}

struct SchemaObject {
  std::string type, name, sql;
};

std::vector<SchemaObject> schemaOf(EngineDatabase& db, EngineStatus& status) {
  std::vector<SchemaObject> objects;
  Statement stmt(db.handle(),
                 "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL "
                 "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY type = 'index', rowid",
                 status);
  if (!status) return objects;
  while (stmt.step(status)) objects.push_back({stmt.columnText(0), stmt.columnText(1), stmt.columnText(2)});
  return objects;
}

int applicationId(EngineDatabase& db, EngineStatus& status) {
  Statement stmt(db.handle(), "PRAGMA application_id", status);
  return status && stmt.step(status) ? static_cast<int>(stmt.columnInt(0)) : 0;
}

bool refusedByConstraint(const EngineStatus& status) {
  return (status.code & 0xff) == SQLITE_CONSTRAINT;
}

// Failures that come from the file's own damage, which repair works around;
// any other (busy, out of memory) stops it.
bool causedByDamage(const EngineStatus& status) {
  const int primary = status.code & 0xff;
  return primary == SQLITE_CORRUPT || primary == SQLITE_IOERR || refusedByConstraint(status);
}

EngineStatus unlessDamage(const EngineStatus& status) {
  return causedByDamage(status) ? EngineStatus::success() : status;
}

// Copies the rows of one table that can still be read: a damaged page ends the
// table and a row the schema refuses stays behind.
EngineStatus copyReadableRows(EngineDatabase& from, EngineDatabase& to, const std::string& table) {
  EngineStatus status;
  Statement read(from.handle(), "SELECT * FROM " + quoteIdentifier(table), status);
  if (!status) return unlessDamage(status);
  std::string placeholders;
  for (int i = 0; i < read.columnCount(); ++i) placeholders += i > 0 ? ", ?" : "?";
  Statement write(to.handle(), "INSERT INTO " + quoteIdentifier(table) + " VALUES (" + placeholders + ")",
                  status);
  if (!status) return status;
  EngineStatus written;
  while (read.step(status)) {
    write.reset();
    for (int i = 0; i < read.columnCount(); ++i) write.bindColumnOf(i + 1, read, i);
    write.step(written);
    if (!written && !refusedByConstraint(written)) return written;
  }
  return unlessDamage(status);
}

std::string freeName(const std::string& base) {
  std::error_code ec;
  for (int n = 1;; ++n) {
    std::string candidate = base + (n > 1 ? "-" + std::to_string(n) : "");
    if (!std::filesystem::exists(candidate, ec)) return candidate;
  }
}

// Creates the tables of the schema, or everything else (indexes, triggers, views).
EngineStatus createObjects(EngineDatabase& db, const std::vector<SchemaObject>& schema, bool tables) {
  for (const auto& object : schema)
    if ((object.type == "table") == tables)
      if (auto status = db.execute(object.sql); !status) return status;
  return EngineStatus::success();
}

// The schema and every readable row of the damaged file, in one transaction;
// indexes come last so they are built once over the copied rows.
EngineStatus fillCopy(EngineDatabase& damaged, EngineDatabase& copy,
                      const std::vector<SchemaObject>& schema) {
  EngineStatus status;
  const int id = applicationId(damaged, status);
  if (!status) return status;
  status = copy.execute("PRAGMA foreign_keys = OFF; PRAGMA application_id = " + std::to_string(id));
  if (!status) return status;
  Transaction transaction(copy);
  if (status = transaction.status(); !status) return status;
  if (status = createObjects(copy, schema, true); !status) return status;
  for (const auto& object : schema)
    if (object.type == "table")
      if (status = copyReadableRows(damaged, copy, object.name); !status) return status;
  if (status = createObjects(copy, schema, false); !status) return status;
  return transaction.commit();
}

EngineStatus copyLeftBeside(const std::string& copyPath, const std::string& reason) {
  return EngineStatus::failure("La copia riparata è in \"" + copyPath +
                               "\" ma non ha potuto prendere il posto del file: " + reason);
}

EngineStatus saveIntoCopy(EngineDatabase& damaged, const std::string& path, const std::string& findings) {
  EngineStatus status;
  const auto schema = schemaOf(damaged, status);
  if (!status || schema.empty())
    return EngineStatus::failure("Il database non può essere riparato: lo schema non è leggibile.\n" +
                                 findings);
  const std::string copyPath = freeName(path + ".riparazione");
  auto copy = EngineDatabase::create(copyPath, status);
  if (!copy) return status;
  status = fillCopy(damaged, *copy, schema);
  std::string copyFindings = status ? integrityFindings(*copy) : status.text;
  const std::string orphanFindings = status ? foreignKeyFindings(*copy) : std::string();
  // A copy that will not close is not taken either; an earlier finding already says why.
  if (const EngineStatus closed = copy->close(); !closed && copyFindings == "ok")
    copyFindings = closed.text;
  if (copyFindings != "ok" || !orphanFindings.empty()) {
    std::error_code ec;
    std::filesystem::remove(copyPath, ec);
    return EngineStatus::failure("Il database non può essere riparato.\n" + findings + "\n" +
                                 copyFindings + "\n" + orphanFindings);
  }
  // The original must be let go before it is moved aside.
  if (status = damaged.close(); !status) return copyLeftBeside(copyPath, status.text);
  std::error_code ec;
  std::filesystem::rename(path, freeName(path + ".danneggiato"), ec);
  if (!ec) std::filesystem::rename(copyPath, path, ec);
  if (ec) return copyLeftBeside(copyPath, ec.message());
  return EngineStatus::success();
}

}  // namespace

EngineStatus repairInPlace(const std::string& path) {
  EngineStatus status;
  auto db = EngineDatabase::open(path, status);
  if (!db) return status;
  std::string findings = integrityFindings(*db);
  if (findings == "ok") return EngineStatus::success();
  // Indexes that cannot be rebuilt for damage in the tables themselves leave
  // the copy below to save what can be read.
  if (const EngineStatus reindexed = db->execute("REINDEX"); !reindexed) {
    if (!causedByDamage(reindexed)) return reindexed;
    findings += "\n" + reindexed.text;
  } else {
    findings = integrityFindings(*db);
    if (findings == "ok") return EngineStatus::success();
  }
  return saveIntoCopy(*db, path, findings);
}

}  // namespace veltra::db::engine
