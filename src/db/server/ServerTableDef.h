#pragma once
// A table definition written for the server: native types, every CHECK named
// after its column and rule, the declared engine type kept as the column's comment.

#include "db/engine/TableDef.h"

namespace veltra::db::engine {

class ServerDatabase;

class ServerTableDef final : public TableDef {
 public:
  ServerTableDef(ServerDatabase& db, std::string name);

  std::string createTableSql() const override;

 private:
  EngineStatus appendToDatabase(const std::vector<IndexDef>& indexes) override;

  ServerDatabase& db_;
};

}  // namespace veltra::db::engine
