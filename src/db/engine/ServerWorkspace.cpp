#include "db/engine/ServerWorkspace.h"

#include <filesystem>
#include <system_error>

#include "db/engine/LeftoverFiles.h"
#include "db/engine/RegisterCopy.h"
#include "db/engine/ServerConnection.h"
#include "db/engine/ServerDatabase.h"
#include "db/engine/SqliteDatabase.h"

namespace veltra::db::engine {

EngineStatus ServerWorkspace::repairDatabase(const std::string& path,
                                             const ModelBuilder& /*buildModel*/,
                                             RepairReport& /*report*/) {
  return EngineStatus::failure(
      "Il database \"" + uriWithoutPassword(path) +
      "\" è su un server:\ni suoi file li custodisce e li ripara il server stesso, non questo "
      "programma.");
}

EngineStatus ServerWorkspace::compactDatabase(const std::string& source,
                                              const std::string& destination) {
  std::error_code ec;
  if (std::filesystem::exists(destination, ec)) return destinationExists(destination);
  EngineStatus status;
  auto from = ServerDatabase::open(source, status);
  if (!from) return status;
  from->setProgressHook(progressHook());
  const std::string partial = startCopyBeside(destination);
  auto to = SqliteDatabase::create(partial, status);
  if (!to) return status;
  to->setProgressHook(progressHook());
  // One state of the register, however long the copy: every read in one snapshot.
  if (status = from->execute("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"); status)
    status = copyRegister(*from, *to);
  from->rollback();
  const EngineStatus closed = to->close();
  return placeCopy(status ? closed : status, partial, destination);
}

}  // namespace veltra::db::engine
