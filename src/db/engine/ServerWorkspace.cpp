#include "db/engine/ServerWorkspace.h"

#include <filesystem>
#include <system_error>

#include "db/engine/RegisterCopy.h"
#include "db/engine/ServerConnection.h"
#include "db/engine/ServerDatabase.h"
#include "db/engine/SqliteDatabase.h"

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
  EngineStatus status;
  auto from = ServerDatabase::open(source, status);
  if (!from) return status;
  from->setProgressHook(progressHook());
  auto to = SqliteDatabase::create(destination, status);
  if (!to) return status;
  to->setProgressHook(progressHook());
  // One state of the register, however long the copy: every read in one snapshot.
  if (status = from->execute("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"); !status)
    return status;
  status = copyRegister(*from, *to);
  from->rollback();
  if (status) return to->close();
  static_cast<void>(to->close());
  std::error_code ec;
  std::filesystem::remove(destination, ec);  // a half copy is no backup
  return status;
}

}  // namespace veltra::db::engine
