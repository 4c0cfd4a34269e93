#pragma once
// Repair and compaction of an SQLite file, and a new file filled by another
// engine's register.

#include <utility>

#include "db/engine/Workspace.h"

namespace veltra::db::engine {

class SqliteWorkspace final : public Workspace {
 public:
  // The salvage of a damaged file, given by whoever chose this engine: the
  // salvage is built on the engine, not the engine on its salvage.
  using Repairer =
      std::function<EngineStatus(const std::string& path, const std::string& model,
                                 RepairReport& report, const std::function<void()>& progress)>;
  explicit SqliteWorkspace(Repairer repair) : repair_(std::move(repair)) {}

  EngineStatus repairDatabase(const std::string& path, const ModelBuilder& buildModel,
                              RepairReport& report) override;
  EngineStatus compactDatabase(const std::string& source, const std::string& destination) override;

 private:
  Repairer repair_;
};

// A new register file at destination, filled by fill: written beside it and
// put in place only whole, so that a run killed at any moment leaves no
// destination and the same command then succeeds.
EngineStatus fillNewFile(const std::string& destination,
                         const EngineDatabase::ProgressHook& progress,
                         const std::function<EngineStatus(EngineDatabase& file)>& fill);

}  // namespace veltra::db::engine
