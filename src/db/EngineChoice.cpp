// The one place that knows both engines: a register's locator chooses the
// engine that keeps it, and what one engine's work needs of the other is
// handed to it from here, so that neither engine includes the other.

#include "db/engine/EngineDatabase.h"
#include "db/engine/Workspace.h"
#include "db/server/ServerConnection.h"
#include "db/server/ServerDatabase.h"
#include "db/server/ServerWorkspace.h"
#include "db/sqlite/SqliteDatabase.h"
#include "db/sqlite/SqliteWorkspace.h"
#include "db/sqlite/repair/Repair.h"

namespace veltra::db::engine {

bool EngineDatabase::carriesPassword(std::string_view locator) {
  return isServerLocator(locator) && engine::carriesPassword(std::string(locator));
}

std::string EngineDatabase::displayName(const std::string& locator) {
  return isServerLocator(locator) ? serverDisplayName(locator) : locator;
}

std::unique_ptr<EngineDatabase> EngineDatabase::create(const std::string& locator,
                                                       EngineStatus& status) {
  if (isServerLocator(locator)) return ServerDatabase::create(locator, status);
  return SqliteDatabase::create(locator, status);
}

std::unique_ptr<EngineDatabase> EngineDatabase::open(const std::string& locator,
                                                     EngineStatus& status) {
  if (isServerLocator(locator)) return ServerDatabase::open(locator, status);
  return SqliteDatabase::open(locator, status);
}

// A server register's copy goes into a new file; a file's repair is the salvage's.
std::unique_ptr<Workspace> Workspace::forDatabase(const std::string& locator) {
  if (EngineDatabase::isServerLocator(locator))
    return std::make_unique<ServerWorkspace>(fillNewFile);
  return std::make_unique<SqliteWorkspace>([](const std::string& path, const std::string& model,
                                              RepairReport& report,
                                              const std::function<void()>& progress) {
    return repairInPlace(path, model, report, {}, progress);
  });
}

}  // namespace veltra::db::engine
