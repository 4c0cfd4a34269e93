#include "SchemaTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "db/QueryCursor.h"
#include "db/TableCursor.h"
#include "schema/ApplicationSchema.h"
#include "schema/DatabaseCreation.h"
#include "schema/SpecialTables.h"

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
  EXPECT_TRUE(connection.EngineDatabase()->loadTable(table, info).ok) << table;
  return info;
}

bool hasTable(db::DatabaseConnection& connection, const std::string& table) {
  const auto names = connection.EngineDatabase()->tableNames();
  return std::find(names.begin(), names.end(), table) != names.end();
}

std::vector<std::string> columnNames(const db::engine::TableInfo& info) {
  std::vector<std::string> names;
  for (const auto& column : info.columns) names.push_back(column.name);
  return names;
}

bool addRow(db::DatabaseConnection& connection, const std::string& table,
            const FieldValues& values) {
  db::TableCursor cursor(&connection, table);
  cursor.AddNew();
  for (const auto& [field, value] : values) cursor.SetField(field, value);
  return cursor.Update();
}

CreatedDatabase::CreatedDatabase(TestEngine engine)
    : path_(newRegisterLocator(engine, dir_, "registro.mdb")) {
  const auto outcome = schema::BuildNewDatabase(creationPrompter, path_, "creato");
  EXPECT_EQ(outcome.outcome, ui::Outcome::Done);
}

std::unique_ptr<db::DatabaseConnection> CreatedDatabase::connect() {
  return std::make_unique<db::DatabaseConnection>(prompter, path_);
}

DictionaryDatabase::DictionaryDatabase(TestEngine engine, bool withApplicationDictionary) {
  db::engine::EngineStatus status;
  engine_ = db::engine::EngineDatabase::create(newRegisterLocator(engine, dir_, "dizionario.mdb"),
                                               status);
  EXPECT_TRUE(status.ok) << status.text;
  EXPECT_TRUE(schema::CreateSpecialTables(prompter, *engine_));
  connection_ = std::make_unique<db::DatabaseConnection>(prompter, *engine_);
  if (withApplicationDictionary) {
    schema::DictionaryCursors cursors(*connection_);
    schema::WriteApplicationDictionary(cursors);
  }
  prompter.clear();
}

}  // namespace veltra::testing
