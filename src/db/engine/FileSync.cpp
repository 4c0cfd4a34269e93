#include "db/engine/FileSync.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace veltra::db::engine {

namespace {

void syncOpened(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0) return;
  static_cast<void>(::fsync(fd));
  ::close(fd);
}

}  // namespace

void syncFile(const std::string& path) {
  syncOpened(path, O_RDONLY);
}

void syncFolderOf(const std::string& path) {
  syncOpened(std::filesystem::absolute(path).parent_path().string(), O_RDONLY | O_DIRECTORY);
}

void removeDatabaseFiles(const std::string& path) {
  std::error_code ec;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    std::filesystem::remove(path + suffix, ec);
}

}  // namespace veltra::db::engine
