#pragma once
// Whole-register operations on a server: the server keeps its own files, so
// there is nothing to repair from here; a copy goes into a new SQLite file.

#include "db/engine/Workspace.h"

namespace veltra::db::engine {

class ServerWorkspace final : public Workspace {
 public:
  EngineStatus repairDatabase(const std::string& path, const ModelBuilder& buildModel,
                              RepairReport& report) override;
  EngineStatus compactDatabase(const std::string& source, const std::string& destination) override;
};

}  // namespace veltra::db::engine
