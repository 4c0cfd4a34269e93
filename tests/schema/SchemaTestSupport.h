#pragma once
// Databases for the schema tests and ways to read back what they hold,
// through the program's own cursors and the engine's schema reader.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"
#include "db/engine/SchemaTypes.h"
#include "support/EngineTestSupport.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace veltra::testing {

// The texts of one selected expression, row by row.
std::vector<std::string> columnTexts(db::DatabaseConnection& connection, const std::string& select,
                                     const std::string& from, const std::string& where = {},
                                     const std::string& orderBy = {});
int rowCount(db::DatabaseConnection& connection, const std::string& table,
             const std::string& where = {});
db::engine::TableInfo tableInfo(db::DatabaseConnection& connection, const std::string& table);
bool hasTable(db::DatabaseConnection& connection, const std::string& table);
std::vector<std::string> columnNames(const db::engine::TableInfo& info);

using FieldValues = std::vector<std::pair<std::string, std::string>>;
// AddNew, SetField for each value, Update: the result of Update.
bool addRow(db::DatabaseConnection& connection, const std::string& table,
            const FieldValues& values);

// A complete new register on the engine, built as the program builds one.
class CreatedDatabase {
 public:
  explicit CreatedDatabase(TestEngine engine);
  const std::string& path() const { return path_; }
  // A new connection on the register; its messages go to prompter.
  std::unique_ptr<db::DatabaseConnection> connect();

  RecordingPrompter creationPrompter;
  RecordingPrompter prompter;

 private:
  TempDir dir_;
  std::string path_;
};

// A new register with the special tables and, when asked, the dictionary of
// the application schema, held open as creation holds it: the engine database
// and a connection on it. Tests add their own rows before building from it.
class DictionaryDatabase {
 public:
  explicit DictionaryDatabase(TestEngine engine, bool withApplicationDictionary = true);
  db::engine::EngineDatabase& engine() { return *engine_; }
  db::DatabaseConnection& connection() { return *connection_; }

  RecordingPrompter prompter;

 private:
  TempDir dir_;
  std::unique_ptr<db::engine::EngineDatabase> engine_;
  std::unique_ptr<db::DatabaseConnection> connection_;
};

}  // namespace veltra::testing
