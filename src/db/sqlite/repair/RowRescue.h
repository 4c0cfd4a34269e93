#pragma once
// The rows of a damaged file copied one by one into a repaired copy: every
// row that can still be read is kept, a row the copy refuses is set aside in
// a table of its own, and the rows an index still names but no read reaches
// are counted as lost. Internal to the engine adapter.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/sqlite/repair/PageRows.h"
#include "db/sqlite/repair/Repair.h"

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

// Failures that do not come from the damage (busy, interrupted) stop the
// repair; every other failure of a read is the damage being met.
bool stopsRepair(const EngineStatus& status);
bool refusedByConstraint(const EngineStatus& status);

// The first column of the row holding a text that is not UTF-8, or none:
// bytes damaged in place that still make a record SQLite reads.
std::optional<std::string> columnWithBadText(const SqliteStatement& row);

// Runs statements on a handle of the repair's own.
EngineStatus executeOn(sqlite3* db, const std::string& sql);

// Asks the damaged file's indexes, through SQLite, whether they name a row
// found on its pages.
IndexWitness indexWitnessOn(sqlite3* damaged);
// Asks the copy, still empty, whether its table would take the row: a row
// its checks refuse is no row of that table.
IndexWitness copyWitnessOn(sqlite3* copy);

// Copies every readable row of the table from the damaged file into copy,
// which holds the table already, in rowid order and under the same rowids;
// then the rows found on the file's pages that no read through the table's
// tree reached.
// A failure returned here is one the repair cannot work around.
// named: whether the damaged file's indexes hold a row (indexWitnessOn).
EngineStatus rescueRows(sqlite3* damaged, sqlite3* copy, SetAsideRows& setAside,
                        const TableShape& shape, const IndexWitness& named,
                        const PageRows& pageRows, TableRescue& rescue);

}  // namespace veltra::db::engine
