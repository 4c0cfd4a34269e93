#pragma once
// The engine's workspace operations on whole files: repair in place and
// compaction into a new file.

#include <string>

#include "db/engine/EngineStatus.h"
#include "db/engine/Repair.h"

namespace veltra::db::engine {

class Workspace {
 public:
  EngineStatus open();
  // model: a file with the program's schema, the one the repaired copy gets.
  // report: what became of each table's rows when the file had to be copied.
  EngineStatus repairDatabase(const std::string& path, const std::string& model,
                              RepairReport& report);
  EngineStatus compactDatabase(const std::string& source, const std::string& destination);
  void close();
};

}  // namespace veltra::db::engine
