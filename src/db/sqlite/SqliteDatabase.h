#pragma once
// The register as one SQLite file. sqlite3.h stays out of every header; the
// raw handle is for the SQLite side of the adapter alone.

#include <memory>
#include <string>
#include <vector>

#include "db/engine/EngineDatabase.h"

struct sqlite3;

namespace veltra::db::engine {

class SqliteDatabase final : public EngineDatabase {
 public:
  // Creates a new, empty database file; refused when the file already exists.
  static std::unique_ptr<SqliteDatabase> create(const std::string& path, EngineStatus& status);
  // Opens an existing database file, shared and read-write. A missing file,
  // an empty one and one that is not a database all fail here.
  static std::unique_ptr<SqliteDatabase> open(const std::string& path, EngineStatus& status);

  ~SqliteDatabase() override;

  EngineStatus close() override;
  bool isOpen() const override { return db_ != nullptr; }
  std::string versionText() const override;
  EngineStatus stillInPlace() const override;
  void setProgressHook(ProgressHook hook) override { progressHook_ = std::move(hook); }

  std::unique_ptr<TableDef> createTableDef(const std::string& name) override;
  EngineStatus createRelation(const RelationDef& relation) override;
  EngineStatus loadTable(const std::string& name, TableInfo& info) const override;
  std::vector<std::string> tableNames() const override;
  std::string insertionOrder() const override { return "rowid"; }
  LatestRowsSql latestRows(const LatestRowsRequest& request) const override {
    return latestRowsSql(request, Dialect::File);
  }

  std::unique_ptr<TableRecordset> openTable(const TableInfo& table, EngineStatus& status) override;
  std::unique_ptr<QueryRecordset> openQuery(const std::string& jetSql,
                                            EngineStatus& status) override;

  EngineStatus begin() override;
  EngineStatus commit() override;
  void rollback() override;
  bool inTransaction() const override;

  EngineStatus execute(const std::string& sql) override;

  sqlite3* handle() const { return db_; }
  // Calls hook every so often while a statement of db works; the hook must
  // outlive the handle. For the handles the adapter opens on its own.
  static void watchProgress(sqlite3* db, const ProgressHook& hook);

 private:
  SqliteDatabase(sqlite3* db, std::string path);

  sqlite3* db_;
  ProgressHook progressHook_;
};

}  // namespace veltra::db::engine
