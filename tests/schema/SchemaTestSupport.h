#pragma once
// Reading back what a created database holds, through the program's own cursors.

#include <memory>
#include <string>
#include <vector>

#include "db/DatabaseConnection.h"
#include "db/engine/SchemaTypes.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace veltra::testing {

// The texts of the first selected column, row by row.
std::vector<std::string> columnTexts(db::DatabaseConnection& connection, const std::string& select,
                                     const std::string& from, const std::string& where = {},
                                     const std::string& orderBy = {});
int rowCount(db::DatabaseConnection& connection, const std::string& table,
             const std::string& where = {});
db::engine::TableInfo tableInfo(db::DatabaseConnection& connection, const std::string& table);
std::vector<std::string> tableNames(db::DatabaseConnection& connection);

// A complete database in a fresh directory, built as the program builds one.
class CreatedDatabase {
 public:
  CreatedDatabase();
  const std::string& path() const { return path_; }
  // A new connection on the file; its messages go to prompter.
  std::unique_ptr<db::DatabaseConnection> connect();

  RecordingPrompter creationPrompter;
  RecordingPrompter prompter;

 private:
  TempDir dir_;
  std::string path_;
};

}  // namespace veltra::testing
