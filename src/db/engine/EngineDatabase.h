#pragma once
// The engine's database object: one SQLite file, opened or created, with the
// schema operations the program needs. sqlite3.h stays out of every header.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"

struct sqlite3;

namespace veltra::db::engine {

class TableDef;

class EngineDatabase {
 public:
  // Creates a new, empty database file; refused when the file already exists.
  static std::unique_ptr<EngineDatabase> create(const std::string& path, EngineStatus& status);
  // Opens an existing database file, shared and read-write. A missing file,
  // an empty one and one that is not a database all fail here.
  static std::unique_ptr<EngineDatabase> open(const std::string& path, EngineStatus& status);

  ~EngineDatabase();
  EngineDatabase(const EngineDatabase&) = delete;
  EngineDatabase& operator=(const EngineDatabase&) = delete;

  EngineStatus close();
  bool isOpen() const { return db_ != nullptr; }
  const std::string& path() const { return path_; }
  static std::string versionText();

  // One statement (an integrity check, VACUUM INTO, a query over a big
  // table) can hold the calling thread for minutes. Every handle calls the
  // hook every few thousand engine steps, so that a window can repaint
  // meanwhile. One hook for the whole process; none stops the calls.
  using ProgressHook = std::function<void()>;
  static void setProgressHook(ProgressHook hook);

  // Schema operations.
  std::unique_ptr<TableDef> createTableDef(const std::string& name);
  EngineStatus createRelation(const RelationDef& relation);
  EngineStatus loadTable(const std::string& name, TableInfo& info) const;
  std::vector<std::string> tableNames() const;

  // Bulk work runs in one transaction; see Transaction below.
  EngineStatus begin();
  EngineStatus commit();
  void rollback();
  bool inTransaction() const;

  // Runs statements with no result; for the adapter's own use.
  EngineStatus execute(const std::string& sql);

  sqlite3* handle() const { return db_; }

 private:
  EngineDatabase(sqlite3* db, std::string path);
  sqlite3* db_;
  std::string path_;
};

// BEGIN IMMEDIATE on construction; rolled back on destruction unless committed.
// Inside an enclosing transaction it joins it and does nothing itself.
class Transaction {
 public:
  explicit Transaction(EngineDatabase& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  const EngineStatus& status() const { return status_; }
  EngineStatus commit();

 private:
  EngineDatabase& db_;
  EngineStatus status_;
  bool owner_ = false;
};

}  // namespace veltra::db::engine
