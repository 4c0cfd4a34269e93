#pragma once
// Rows of a repaired copy whose referenced row did not survive the damage.
// Internal to the engine adapter.

#include <vector>

#include "db/engine/Repair.h"
#include "db/engine/SqliteDatabase.h"

namespace veltra::db::engine {

class SetAsideRows;

// Makes every relation of the copy hold again. A missing referenced row is
// rebuilt from the values of the row that refers to it (the key, and the
// columns both tables share) when its table accepts it; otherwise the
// referring row is set aside. rescues holds one entry per table, whose
// counts are updated.
EngineStatus settleRelations(SqliteDatabase& copy, SetAsideRows& setAside,
                             std::vector<TableRescue>& rescues);

}  // namespace veltra::db::engine
