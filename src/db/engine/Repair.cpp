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
  return stmt.step(status) ? "riferimenti senza record corrispondente nella tavola \"" +
                                 stmt.columnText(0) + "\""
                           : std::string();
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

int applicationId(EngineDatabase& db) {
  EngineStatus status;
  Statement stmt(db.handle(), "PRAGMA application_id", status);
  return status && stmt.step(status) ? static_cast<int>(stmt.columnInt(0)) : 0;
}

// Copies the rows of one table that can still be read; a damaged page ends the table.
void copyReadableRows(EngineDatabase& from, EngineDatabase& to, const std::string& table) {
  EngineStatus status;
  Statement read(from.handle(), "SELECT * FROM " + quoteIdentifier(table), status);
  if (!status) return;
  std::string placeholders;
  for (int i = 0; i < read.columnCount(); ++i) placeholders += i > 0 ? ", ?" : "?";
  Statement write(to.handle(), "INSERT INTO " + quoteIdentifier(table) + " VALUES (" + placeholders + ")",
                  status);
  if (!status) return;
  while (read.step(status)) {
    write.reset();
    for (int i = 0; i < read.columnCount(); ++i)
      sqlite3_bind_value(write.handle(), i + 1, sqlite3_column_value(read.handle(), i));
    write.step(status);  // a row the schema refuses stays behind
  }
}

std::string freeName(const std::string& base) {
  std::error_code ec;
  for (int n = 1;; ++n) {
    std::string candidate = base + (n > 1 ? "-" + std::to_string(n) : "");
    if (!std::filesystem::exists(candidate, ec)) return candidate;
  }
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
  copy->execute("PRAGMA foreign_keys = OFF; PRAGMA application_id = " +
                std::to_string(applicationId(damaged)));
  copy->begin();
  for (const auto& object : schema)
    if (object.type == "table") copy->execute(object.sql);
  for (const auto& object : schema)
    if (object.type == "table") copyReadableRows(damaged, *copy, object.name);
  for (const auto& object : schema)
    if (object.type != "table") copy->execute(object.sql);
  status = copy->commit();
  const std::string copyFindings = status ? integrityFindings(*copy) : status.text;
  const std::string orphanFindings = foreignKeyFindings(*copy);
  copy->close();
  if (copyFindings != "ok" || !orphanFindings.empty()) {
    std::error_code ec;
    std::filesystem::remove(copyPath, ec);
    return EngineStatus::failure("Il database non può essere riparato.\n" + findings + "\n" +
                                 copyFindings + "\n" + orphanFindings);
  }
  damaged.close();
  std::error_code ec;
  std::filesystem::rename(path, freeName(path + ".danneggiato"), ec);
  if (!ec) std::filesystem::rename(copyPath, path, ec);
  if (ec)
    return EngineStatus::failure("La copia riparata è in \"" + copyPath +
                                 "\" ma non ha potuto prendere il posto del file: " + ec.message());
  return EngineStatus::success();
}

}  // namespace

EngineStatus repairInPlace(const std::string& path) {
  EngineStatus status;
  auto db = EngineDatabase::open(path, status);
  if (!db) return status;
  std::string findings = integrityFindings(*db);
  if (findings == "ok") return EngineStatus::success();
  db->execute("REINDEX");
  findings = integrityFindings(*db);
  if (findings == "ok") return EngineStatus::success();
  return saveIntoCopy(*db, path, findings);
}

}  // namespace veltra::db::engine
