#pragma once
// Repair of a database file in place.

#include <string>

#include "db/engine/EngineStatus.h"

namespace veltra::db::engine {

// A healthy file is left as it is. Damaged indexes are rebuilt. Damaged
// tables: every readable row goes into a new file with the same schema, which
// takes the file's place; the damaged original is kept beside it. An error
// with the check's findings when nothing can be saved.
EngineStatus repairInPlace(const std::string& path);

}  // namespace veltra::db::engine
