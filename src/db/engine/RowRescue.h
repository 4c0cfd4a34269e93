#pragma once
// The rows of a damaged file copied one by one into a repaired copy: every
// row that can still be read is kept, a row the copy refuses is set aside in
// a table of its own, and the rows an index still names but no read reaches
// are counted as lost. Internal to the engine adapter.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/engine/Repair.h"
#include "db/engine/SqliteDatabase.h"

struct sqlite3;

namespace veltra::db::engine {

class Statement;

// The copy's table of rows set aside, created with the first of them.
class SetAsideRows {
 public:
  explicit SetAsideRows(SqliteDatabase& copy) : copy_(copy) {}

  // row: rowid in column 0, then the table's columns. Kept as the table's
  // name, the rowid, the reason and the values as SQL literals, so they can
  // be put back by hand once the reason is dealt with.
  EngineStatus put(const std::string& table, const Statement& row, const std::string& reason);

 private:
  EngineStatus ensureTable();
  std::string valuesText(const Statement& row, EngineStatus& status);

  SqliteDatabase& copy_;
  bool created_ = false;
};

// Failures that do not come from the damage (busy, interrupted) stop the
// repair; every other failure of a read is the damage being met.
bool stopsRepair(const EngineStatus& status);
bool refusedByConstraint(const EngineStatus& status);

// Copies every readable row of the table from the damaged file into copy,
// which holds the table already, in rowid order and under the same rowids. A
// failure returned here is one the repair cannot work around.
EngineStatus rescueRows(sqlite3* damaged, SqliteDatabase& copy, SetAsideRows& setAside,
                        TableRescue& rescue);

}  // namespace veltra::db::engine
