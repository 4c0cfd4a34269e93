#pragma once
// A table definition written as SQLite statements: declared types that keep
// the engine type, CHECKs for each type's range, NOCASE text.

#include "db/engine/TableDef.h"

namespace veltra::db::engine {

class SqliteDatabase;

class SqliteTableDef final : public TableDef {
 public:
  SqliteTableDef(SqliteDatabase& db, std::string name);

  std::string createTableSql() const override;

 private:
  EngineStatus appendToDatabase(const std::vector<IndexDef>& indexes) override;

  SqliteDatabase& db_;
};

}  // namespace veltra::db::engine
