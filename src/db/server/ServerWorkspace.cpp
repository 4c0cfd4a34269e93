#include "db/server/ServerWorkspace.h"

#include "db/engine/RegisterCopy.h"
#include "db/server/ServerConnection.h"
#include "db/server/ServerDatabase.h"

namespace veltra::db::engine {

EngineStatus ServerWorkspace::repairDatabase(const std::string& path,
                                             const ModelBuilder& /*buildModel*/,
                                             RepairReport& /*report*/) {
  return EngineStatus::failure(
      "Il database " + serverDisplayName(path) +
      ":\ni suoi file li custodisce e li ripara il server stesso, non questo "
      "programma.");
}

EngineStatus ServerWorkspace::compactDatabase(const std::string& source,
                                              const std::string& destination) {
  return intoNewFile_(destination, progressHook(), [&](EngineDatabase& file) {
    EngineStatus status;
    auto from = ServerDatabase::open(source, status);
    if (!from) return status;
    from->setProgressHook(progressHook());
    // One state of the register, however long the copy: every read in one snapshot.
    if (status = from->execute("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"); status)
      status = copyRegister(*from, file);
    from->rollback();
    return status;
  });
}

}  // namespace veltra::db::engine
