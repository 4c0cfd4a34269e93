#pragma once
// The engine's workspace operations on whole files: repair in place and
// compaction into a new file.

#include <string>

#include "db/engine/EngineStatus.h"

namespace veltra::db::engine {

class Workspace {
public:
  EngineStatus open();
  EngineStatus repairDatabase(const std::string& path);
  EngineStatus compactDatabase(const std::string& source, const std::string& destination);
  void close();
};

}  // namespace veltra::db::engine
