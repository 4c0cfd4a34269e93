#pragma once
// Repair of a database file in place.

#include <functional>
#include <string>

#include "db/engine/EngineStatus.h"
#include "db/engine/RepairReport.h"

namespace veltra::db::engine {

// The moments at which the file at the path changes, for whoever watches.
enum class RepairStep { CopyVerified, OriginalKeptBeside, CopyInPlace };
using RepairObserver = std::function<void(RepairStep)>;

// A healthy file is left as it is. A damaged one is never written: every
// readable row goes into a new file with the schema of the file at model (the
// program's own, never the damaged file's); once that copy is checked, the
// damaged original is kept beside the path under a new name and the copy
// takes its place with one rename, so the path always holds a database. An
// error with the check's findings when nothing can be saved. Copies left by
// an earlier repair of the same path that was killed are removed first.
// progress is called while the engine reads the file, as on an open database.
EngineStatus repairInPlace(const std::string& path, const std::string& model, RepairReport& report,
                           const RepairObserver& observer = {},
                           const std::function<void()>& progress = {});

}  // namespace veltra::db::engine
