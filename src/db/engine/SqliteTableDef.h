#pragma once
// A table definition written as SQLite statements: declared types that keep
// the engine type, CHECKs for each type's range, NOCASE text.

#include "db/engine/TableDef.h"

namespace veltra::db::engine {

class SqliteDatabase;

class SqliteTableDef final : public TableDef {
 public:
  SqliteTableDef(SqliteDatabase& db, std::string name) : TableDef(std::move(name)), db_(db) {}

  std::string createTableSql() const override;

 private:
  EngineStatus appendToDatabase(const std::vector<IndexDef>& indexes) override;
  EngineStatus createIndexInDatabase(const IndexDef& index) override;

  SqliteDatabase& db_;
};

}  // namespace veltra::db::engine
