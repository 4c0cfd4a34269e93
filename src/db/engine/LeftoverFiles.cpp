#include "db/engine/LeftoverFiles.h"

#include <filesystem>

#include "db/platform/Files.h"

namespace veltra::db::engine {

void removeDatabaseFiles(const std::string& path) {
  std::error_code ec;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    std::filesystem::remove(platform::FilePath(path + suffix), ec);
}

}  // namespace veltra::db::engine
