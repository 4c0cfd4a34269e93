#pragma once
// The witnesses that tell whose a row found on the damaged file's pages is:
// the damaged file's own indexes, and the copy's checks. Internal to the
// engine adapter.

#include "db/sqlite/repair/PageRows.h"

struct sqlite3;

namespace veltra::db::engine {

// Asks the damaged file's indexes, through SQLite, whether they name a row
// found on its pages.
IndexWitness indexWitnessOn(sqlite3* damaged);
// Asks the copy, still empty, whether its table would take the row: a row
// its checks refuse is no row of that table.
IndexWitness copyWitnessOn(sqlite3* copy);

}  // namespace veltra::db::engine
