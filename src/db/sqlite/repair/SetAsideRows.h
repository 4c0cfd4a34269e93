#pragma once
// The repaired copy's table of the rows set aside: rows the copy refused, or
// whose values the damage altered, kept apart so they can be put back by
// hand. Internal to the engine adapter.

#include <string>

#include "db/engine/EngineStatus.h"

struct sqlite3;

namespace veltra::db::engine {

class SqliteStatement;

// The copy's table of rows set aside, created with the first of them.
class SetAsideRows {
 public:
  explicit SetAsideRows(sqlite3* copy) : copy_(copy) {}

  // row: rowid in column 0, then the table's columns. Kept as the table's
  // name, the rowid, the reason and the values as SQL literals, so they can
  // be put back by hand once the reason is dealt with.
  EngineStatus put(const std::string& table, const SqliteStatement& row, const std::string& reason);

 private:
  EngineStatus ensureTable();
  std::string valuesText(const SqliteStatement& row, EngineStatus& status);

  sqlite3* copy_;
  bool created_ = false;
};

}  // namespace veltra::db::engine
