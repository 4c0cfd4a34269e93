#include "db/sqlite/SqliteWorkspace.h"

#include <filesystem>
#include <system_error>

#include "db/engine/TableDef.h"
#include "db/platform/Files.h"
#include "db/sqlite/LeftoverFiles.h"
#include "db/sqlite/SqliteDatabase.h"

namespace veltra::db::engine {

// The model lies beside the file to repair and goes once the repair is over.
EngineStatus SqliteWorkspace::repairDatabase(const std::string& path,
                                             const ModelBuilder& buildModel, RepairReport& report) {
  const std::string model = path + ".modello";
  removeDatabaseFiles(model);
  EngineStatus status = buildModel(model);
  if (status) status = repair_(path, model, report, progressHook());
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
  const std::string partial = startCopyBeside(destination);
  EngineStatus status;
  auto db = SqliteDatabase::open(source, status);
  if (!db) return status;
  db->setProgressHook(progressHook());
  status = db->execute("VACUUM INTO " + quoteLiteral(partial));
  db.reset();
  return placeCopy(status, partial, destination);
}

EngineStatus fillNewFile(const std::string& destination,
                         const EngineDatabase::ProgressHook& progress,
                         const std::function<EngineStatus(EngineDatabase& file)>& fill) {
  std::error_code ec;
  if (std::filesystem::exists(platform::FilePath(destination), ec))
    return destinationExists(destination);
  const std::string partial = startCopyBeside(destination);
  EngineStatus status;
  auto file = SqliteDatabase::create(partial, status);
  if (!file) return status;
  file->setProgressHook(progress);
  status = fill(*file);
  const EngineStatus closed = file->close();
  return placeCopy(status ? closed : status, partial, destination);
}

}  // namespace veltra::db::engine
