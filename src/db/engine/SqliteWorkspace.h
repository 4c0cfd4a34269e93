#pragma once
// Repair and compaction of an SQLite file.

#include "db/engine/Workspace.h"

namespace veltra::db::engine {

class SqliteWorkspace final : public Workspace {
 public:
  EngineStatus repairDatabase(const std::string& path, const ModelBuilder& buildModel,
                              RepairReport& report) override;
  EngineStatus compactDatabase(const std::string& source, const std::string& destination) override;
};

}  // namespace veltra::db::engine
