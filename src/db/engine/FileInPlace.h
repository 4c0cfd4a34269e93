#pragma once
// Whether the file an open database reads is still the one at its path: a
// file deleted or moved while connected goes on being read through its open
// handle, and an import into it would fail as if it were read-only.

#include "db/engine/EngineStatus.h"

namespace veltra::db::engine {

class EngineDatabase;

// A failure, with the description the user reads, once the file has been
// deleted, moved or replaced under the open database.
EngineStatus checkFileInPlace(const EngineDatabase& database);

}  // namespace veltra::db::engine
