#include "db/engine/SqliteWorkspace.h"

#include <filesystem>
#include <system_error>

#include "db/engine/Repair.h"
#include "db/engine/SqliteDatabase.h"
#include "db/engine/TableDef.h"

namespace veltra::db::engine {

EngineStatus SqliteWorkspace::repairDatabase(const std::string& path, RepairReport& report) {
  return repairInPlace(path, report, {}, progressHook());
}

EngineStatus SqliteWorkspace::compactDatabase(const std::string& source,
                                              const std::string& destination) {
  // The engine refuses an existing destination in English only.
  std::error_code ec;
  if (std::filesystem::exists(destination, ec))
    return EngineStatus::failure("Il file \"" + destination +
                                 "\" esiste già: la copia non può essere scritta.");
  EngineStatus status;
  auto db = SqliteDatabase::open(source, status);
  if (!db) return status;
  db->setProgressHook(progressHook());
  return db->execute("VACUUM INTO " + quoteLiteral(destination));
}

}  // namespace veltra::db::engine
