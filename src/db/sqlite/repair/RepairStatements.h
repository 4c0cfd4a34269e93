#pragma once
// What the parts of the repair share to work on their own SQLite handles:
// running a statement, telling the failures that stop the repair, finding
// texts the damage made invalid, the damaged file's indexes, the lists of a
// statement and the values read from the pages bound as parameters.
// Internal to the engine adapter.

#include <optional>
#include <string>
#include <vector>

#include "db/engine/EngineStatus.h"
#include "db/sqlite/repair/FilePages.h"

struct sqlite3;

namespace veltra::db::engine {

class SqliteStatement;

// Failures that do not come from the damage (busy, interrupted) stop the
// repair; every other failure of a read is the damage being met.
bool stopsRepair(const EngineStatus& status);
bool refusedByConstraint(const EngineStatus& status);

// Runs statements on a handle of the repair's own.
EngineStatus executeOn(sqlite3* db, const std::string& sql);

// The first column of the row holding a text that is not UTF-8, or none:
// bytes damaged in place that still make a record SQLite reads.
std::optional<std::string> columnWithBadText(const SqliteStatement& row);

// The names of the table's indexes in the damaged file.
std::vector<std::string> indexesOf(sqlite3* damaged, const std::string& table);

// The names joined by commas, each given after its own copy of `each`
// ("?" and "? AS " make a parameter list; nothing makes a column list).
std::string listOf(const std::vector<std::string>& names, const std::string& each, bool withNames);

// A value read from the file's pages, as parameter index of stmt.
void bindStored(SqliteStatement& stmt, int index, const StoredValue& value);

}  // namespace veltra::db::engine
