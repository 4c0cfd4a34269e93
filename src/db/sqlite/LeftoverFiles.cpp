#include "db/sqlite/LeftoverFiles.h"

#include <filesystem>
#include <system_error>

#include "db/platform/Files.h"

namespace veltra::db::engine {

void removeDatabaseFiles(const std::string& path) {
  std::error_code ec;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    std::filesystem::remove(platform::FilePath(path + suffix), ec);
}

std::string startCopyBeside(const std::string& destination) {
  const std::string partial = destination + ".duplicazione";
  removeDatabaseFiles(partial);
  return partial;
}

EngineStatus destinationExists(const std::string& destination) {
  return EngineStatus::failure("Il file \"" + destination +
                               "\" esiste già: la copia non può essere scritta.");
}

EngineStatus placeCopy(EngineStatus status, const std::string& partial,
                       const std::string& destination) {
  std::error_code ec;
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
