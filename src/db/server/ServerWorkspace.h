#pragma once
// Whole-register operations on a server: the server keeps its own files, so
// there is nothing to repair from here; a copy goes into a new register file.

#include <utility>

#include "db/engine/Workspace.h"

namespace veltra::db::engine {

class ServerWorkspace final : public Workspace {
 public:
  // Makes the new file a copy goes into, given by whoever chose this engine:
  // the server's code knows no other engine.
  using NewFileFiller = std::function<EngineStatus(
      const std::string& destination, const EngineDatabase::ProgressHook& progress,
      const std::function<EngineStatus(EngineDatabase& file)>& fill)>;
  explicit ServerWorkspace(NewFileFiller intoNewFile) : intoNewFile_(std::move(intoNewFile)) {}

  EngineStatus repairDatabase(const std::string& path, const ModelBuilder& buildModel,
                              RepairReport& report) override;
  EngineStatus compactDatabase(const std::string& source, const std::string& destination) override;

 private:
  NewFileFiller intoNewFile_;
};

}  // namespace veltra::db::engine
