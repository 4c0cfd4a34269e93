#pragma once
// Repair of a database file in place.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "db/engine/EngineStatus.h"

namespace veltra::db::engine {

// The table of the repaired file that holds the rows set aside.
inline constexpr std::string_view SetAsideTableName = "righe_messe_da_parte";

// What became of one table's rows.
struct TableRescue {
  std::string table;
  std::int64_t kept = 0;        // read from the damaged file and in the repaired one
  std::int64_t fromPages = 0;   // of those kept, read from the file's pages past a damaged tree
  std::int64_t setAside = 0;    // read, but refused by the table: in the set-aside table
  std::int64_t unreadable = 0;  // named by an index of the damaged file, but not readable
  bool unknownLosses = false;   // a read failed where no index tells which rows were there
};

struct RepairReport {
  std::string keptBeside;  // where the damaged original is now; empty when it stayed in place
  std::vector<TableRescue> tables;

  // True for a healthy file and for a copy that holds every row unchanged.
  bool lostNothing() const;
  // True when the file at the path is a repaired copy.
  bool replaced() const { return !keptBeside.empty(); }
};

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
