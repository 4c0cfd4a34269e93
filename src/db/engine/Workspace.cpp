#include "db/engine/Workspace.h"

#include <filesystem>
#include <system_error>

#include "db/engine/EngineDatabase.h"
#include "db/engine/LeftoverFiles.h"
#include "db/engine/Repair.h"
#include "db/platform/Files.h"

namespace veltra::db::engine {

namespace {

std::string quotedLiteral(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return quoted + "'";
}

EngineStatus destinationExists(const std::string& destination) {
  return EngineStatus::failure("Il file \"" + destination +
                               "\" esiste già: la copia non può essere scritta.");
}

}  // namespace

// SQLite needs no session object around file operations; the workspace is
// kept so the commands read as the steps users know.
EngineStatus Workspace::open() {
  return EngineStatus::success();
}
void Workspace::close() {}

EngineStatus Workspace::repairDatabase(const std::string& path, const std::string& model,
                                       RepairReport& report) {
  return repairInPlace(path, model, report);
}

// The copy is written beside the destination and renamed to it only once
// complete, so a run killed at any moment leaves no destination, and the
// same command then succeeds.
EngineStatus Workspace::compactDatabase(const std::string& source, const std::string& destination) {
  std::error_code ec;
  // The engine refuses an existing destination in English only.
  if (std::filesystem::exists(destination, ec)) return destinationExists(destination);
  const std::string partial = destination + ".duplicazione";
  removeDatabaseFiles(partial);
  EngineStatus status;
  auto db = EngineDatabase::open(source, status);
  if (!db) return status;
  status = db->execute("VACUUM INTO " + quotedLiteral(partial));
  db.reset();
  if (status) platform::SyncFileAt(partial);
  if (status && std::filesystem::exists(destination, ec)) status = destinationExists(destination);
  if (status) std::filesystem::rename(partial, destination, ec);
  if (status && ec) status = EngineStatus::failure(ec.message());
  if (!status) {
    removeDatabaseFiles(partial);
    return status;
  }
  platform::SyncFolderOf(destination);
  return status;
}

}  // namespace veltra::db::engine
