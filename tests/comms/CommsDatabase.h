#pragma once
// A fresh Veltra database per test (tables, relations and seeded code lists),
// with the helpers the communication tests read it back with.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "db/DatabaseConnection.h"
#include "db/QueryCursor.h"
#include "db/TableCursor.h"
#include "schema/DatabaseCreation.h"
#include "support/EngineTestSupport.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace veltra::testing {

// Runs on every test engine.
class CommsDatabaseTest : public ::testing::TestWithParam<TestEngine> {
 protected:
  void SetUp() override {
    path = newRegisterLocator(GetParam(), dir, "VELTRA.MDB");
    ASSERT_EQ(schema::BuildNewDatabase(prompter, path, "").outcome, ui::Outcome::Done);
    prompter.clear();
    connection = std::make_unique<db::DatabaseConnection>(prompter, path);
    ASSERT_TRUE(connection->IsOpen());
  }

  // The rows of table that meet where (every row when where is empty).
  int countRows(const std::string& table, const std::string& where = "") {
    db::QueryCursor query(connection.get());
    query.SetSelect("*");
    query.SetFrom(table);
    query.SetWhere(where);
    int count = 0;
    for (bool row = query.Execute(); row; row = query.NextRow()) ++count;
    return count;
  }

  // The text of a field of the row found by key; "<absent>" when there is none.
  std::string fieldOf(const std::string& table, std::initializer_list<std::string> key,
                      const std::string& field) {
    db::TableCursor cursor(connection.get(), table);
    cursor.SelectIndex("codice");
    if (!cursor.Seek({key.begin(), key.size()})) return "<absent>";
    std::string text;
    cursor.GetField(field, text);
    return text;
  }

  void addCompany(int code, const std::string& name) {
    db::TableCursor regazi(connection.get(), "regazi");
    ASSERT_TRUE(regazi.AddNew());
    regazi.SetField("codice", std::to_string(code));
    regazi.SetField("denom", name);
    ASSERT_TRUE(regazi.Update());
  }

  TempDir dir;
  std::string path;
  RecordingPrompter prompter;
  std::unique_ptr<db::DatabaseConnection> connection;
};

}  // namespace veltra::testing
