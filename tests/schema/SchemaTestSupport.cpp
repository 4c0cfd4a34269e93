#include "SchemaTestSupport.h"

#include <gtest/gtest.h>

#include "db/QueryCursor.h"
#include "db/engine/EngineDatabase.h"
#include "schema/DatabaseCreation.h"

namespace veltra::testing {

std::vector<std::string> columnTexts(db::DatabaseConnection& connection, const std::string& select,
                                     const std::string& from, const std::string& where,
                                     const std::string& orderBy) {
  db::QueryCursor query(&connection);
  query.SetSelect(select + " AS v");
  query.SetFrom(from);
  query.SetWhere(where);
  query.SetOrderBy(orderBy);
  std::vector<std::string> values;
  for (bool more = query.Execute(); more; more = query.NextRow())
    query.GetText("v", values.emplace_back());
  return values;
}

int rowCount(db::DatabaseConnection& connection, const std::string& table,
             const std::string& where) {
  const auto values = columnTexts(connection, "count(*)", table, where);
  return values.empty() ? -1 : std::stoi(values.front());
}

db::engine::TableInfo tableInfo(db::DatabaseConnection& connection, const std::string& table) {
  db::engine::TableInfo info;
  EXPECT_TRUE(connection.engineDatabase()->loadTable(table, info).ok) << table;
  return info;
}

std::vector<std::string> tableNames(db::DatabaseConnection& connection) {
  return connection.engineDatabase()->tableNames();
}

CreatedDatabase::CreatedDatabase() : path_(dir_.file("registro.mdb")) {
  const auto outcome = schema::BuildNewDatabase(creationPrompter, path_, "creato");
  EXPECT_EQ(outcome, schema::BuildOutcome::Complete);
}

std::unique_ptr<db::DatabaseConnection> CreatedDatabase::connect() {
  return std::make_unique<db::DatabaseConnection>(prompter, path_);
}

}  // namespace veltra::testing
