#pragma once
// Rows of a repaired copy whose referenced row did not survive the damage.
// Internal to the engine adapter.

#include <vector>

#include "db/sqlite/repair/Repair.h"

struct sqlite3;

namespace veltra::db::engine {

class SetAsideRows;

// Makes every relation of the copy hold again by setting aside each row whose
// referenced row is missing, until none is left: a referenced row is never
// made up from the rows that refer to it, so nothing appears that the file did
// not hold. rescues holds one entry per table, whose counts are updated.
EngineStatus settleRelations(sqlite3* copy, SetAsideRows& setAside,
                             std::vector<TableRescue>& rescues);

}  // namespace veltra::db::engine
