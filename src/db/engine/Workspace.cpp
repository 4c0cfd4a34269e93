#include "db/engine/Workspace.h"

#include <filesystem>
#include <system_error>

#include "db/engine/EngineDatabase.h"
#include "db/engine/Repair.h"

namespace veltra::db::engine {

// SQLite needs no session object around file operations; the workspace is
// kept so the commands read as the steps users know.
EngineStatus Workspace::open() {
  return EngineStatus::success();
}
void Workspace::close() {}

EngineStatus Workspace::repairDatabase(const std::string& path, RepairReport& report) {
  return repairInPlace(path, report);
}

EngineStatus Workspace::compactDatabase(const std::string& source, const std::string& destination) {
  // The engine refuses an existing destination in English only.
  std::error_code ec;
  if (std::filesystem::exists(destination, ec))
    return EngineStatus::failure("Il file \"" + destination +
                                 "\" esiste già: la copia non può essere scritta.");
  EngineStatus status;
  auto db = EngineDatabase::open(source, status);
  if (!db) return status;
  std::string quoted = "'";
  for (char c : destination) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return db->execute("VACUUM INTO " + quoted + "'");
}

}  // namespace veltra::db::engine
