#pragma once
// The rows of a damaged file copied one by one into a repaired copy: every
// row that can still be read is kept, a row the copy refuses is set aside in
// a table of its own, and the rows an index still names but no read reaches
// are counted as lost. Internal to the engine adapter.

#include "db/sqlite/repair/PageRows.h"
#include "db/sqlite/repair/Repair.h"

struct sqlite3;

namespace veltra::db::engine {

class SetAsideRows;

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
