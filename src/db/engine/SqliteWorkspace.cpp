#include "db/engine/SqliteWorkspace.h"

#include <filesystem>
#include <system_error>

#include "db/engine/LeftoverFiles.h"
#include "db/engine/Repair.h"
#include "db/engine/SqliteDatabase.h"
#include "db/engine/TableDef.h"
#include "db/platform/Files.h"

namespace veltra::db::engine {

namespace {

EngineStatus destinationExists(const std::string& destination) {
  return EngineStatus::failure("Il file \"" + destination +
                               "\" esiste già: la copia non può essere scritta.");
}

}  // namespace

// The model lies beside the file to repair and goes once the repair is over.
EngineStatus SqliteWorkspace::repairDatabase(const std::string& path,
                                             const ModelBuilder& buildModel, RepairReport& report) {
  const std::string model = path + ".modello";
  removeDatabaseFiles(model);
  EngineStatus status = buildModel(model);
  if (status) status = repairInPlace(path, model, report, {}, progressHook());
  removeDatabaseFiles(model);
  return status;
}

// The copy is written beside the destination and renamed to it only once
// complete, so a run killed at any moment leaves no destination, and the
// same command then succeeds.
EngineStatus SqliteWorkspace::compactDatabase(const std::string& source,
                                              const std::string& destination) {
  std::error_code ec;
  // The engine refuses an existing destination in English only.
  if (std::filesystem::exists(platform::FilePath(destination), ec))
    return destinationExists(destination);
  const std::string partial = destination + ".duplicazione";
  removeDatabaseFiles(partial);
  EngineStatus status;
  auto db = SqliteDatabase::open(source, status);
  if (!db) return status;
  db->setProgressHook(progressHook());
  status = db->execute("VACUUM INTO " + quoteLiteral(partial));
  db.reset();
  if (status) platform::SyncFileAt(partial);
  if (status && std::filesystem::exists(platform::FilePath(destination), ec))
    status = destinationExists(destination);
  if (status)
    std::filesystem::rename(platform::FilePath(partial), platform::FilePath(destination), ec);
  if (status && ec) status = EngineStatus::failure(ec.message());
  if (!status) {
    removeDatabaseFiles(partial);
    return status;
  }
  platform::SyncFolderOf(destination);
  return status;
}

}  // namespace veltra::db::engine
