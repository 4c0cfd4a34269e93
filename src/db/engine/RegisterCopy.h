#pragma once
// A whole register copied into another, empty one, whatever their engines:
// tables with their fields, indexes and relations, then every row in the
// order it was written. The office's backup of a server register is
// such a copy into a new file.

#include "db/engine/EngineStatus.h"

namespace veltra::db::engine {

class EngineDatabase;

EngineStatus copyRegister(EngineDatabase& from, EngineDatabase& to);

}  // namespace veltra::db::engine
