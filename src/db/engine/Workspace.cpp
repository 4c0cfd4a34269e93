#include "db/engine/Workspace.h"

#include "db/engine/ServerWorkspace.h"
#include "db/engine/SqliteWorkspace.h"

namespace veltra::db::engine {

std::unique_ptr<Workspace> Workspace::forDatabase(const std::string& locator) {
  if (EngineDatabase::isServerLocator(locator)) return std::make_unique<ServerWorkspace>();
  return std::make_unique<SqliteWorkspace>();
}

}  // namespace veltra::db::engine
