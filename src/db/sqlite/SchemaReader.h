#pragma once
// Reads back what the file holds of a table: columns with their engine types,
// indexes under their table-local names, and the relations it refers through.
// The statements read are the ones TableDef and createRelation wrote.

#include <string>
#include <vector>

#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"

struct sqlite3;

namespace veltra::db::engine {

EngineStatus readTableInfo(sqlite3* db, const std::string& name, TableInfo& info);
std::vector<std::string> readTableNames(sqlite3* db, EngineStatus& status);
// The CREATE statement of a table or index as stored, or "" when there is none.
std::string storedSql(sqlite3* db, const std::string& type, const std::string& name,
                      EngineStatus& status);
// The CREATE INDEX statements of a table.
std::vector<std::string> storedIndexSql(sqlite3* db, const std::string& table,
                                        EngineStatus& status);
// Relations declared in a stored CREATE TABLE statement.
std::vector<RelationDef> relationsIn(const std::string& createTableSql, const std::string& table);

}  // namespace veltra::db::engine
