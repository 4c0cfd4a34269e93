#pragma once
// The engine's workspace operations on whole registers: repair in place and
// compaction into a new file. The register's locator chooses the engine.

#include <functional>
#include <memory>
#include <string>

#include "db/engine/EngineDatabase.h"
#include "db/engine/EngineStatus.h"
#include "db/engine/RepairReport.h"

namespace veltra::db::engine {

class Workspace {
 public:
  // The workspace of the engine that keeps the register at locator.
  static std::unique_ptr<Workspace> forDatabase(const std::string& locator);

  virtual ~Workspace() = default;
  // Called every so often while an operation works, as on an open database.
  void setProgressHook(EngineDatabase::ProgressHook hook) { progressHook_ = std::move(hook); }

  // Makes a new register with the program's schema at the path it is given.
  using ModelBuilder = std::function<EngineStatus(const std::string& path)>;
  // The repaired copy is built from such a model, never from the damaged
  // file's own schema. report: what became of each table's rows when the
  // file had to be copied.
  virtual EngineStatus repairDatabase(const std::string& path, const ModelBuilder& buildModel,
                                      RepairReport& report) = 0;
  // The register at source copied into a new file at destination.
  virtual EngineStatus compactDatabase(const std::string& source,
                                       const std::string& destination) = 0;

 protected:
  const EngineDatabase::ProgressHook& progressHook() const { return progressHook_; }

 private:
  EngineDatabase::ProgressHook progressHook_;
};

}  // namespace veltra::db::engine
