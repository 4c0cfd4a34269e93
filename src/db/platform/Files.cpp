#include "db/platform/Files.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#endif

namespace veltra::platform {

#ifdef _WIN32

namespace {

// The program's paths are UTF-8; the wide calls of Windows take every name.
std::wstring widePath(const std::string& path) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), size);
  return wide;
}

}  // namespace

// Windows files carry no POSIX modes: their folder's permissions apply.
bool GiveOrdinaryFileMode(int /*fd*/) {
  return true;
}

bool SyncToDisk(int fd) {
  return _commit(fd) == 0;
}

// Windows flushes only a file opened for writing.
bool SyncFileAt(const std::string& path) {
  const int fd = _wopen(widePath(path).c_str(), _O_RDWR | _O_BINARY);
  if (fd < 0) return false;
  const bool synced = SyncToDisk(fd);
  _close(fd);
  return synced;
}

// Written through, the rename is on the disk when the call returns.
bool ReplaceFile(const std::string& from, const std::string& to) {
  return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// ReplaceFile has already written the folder through.
void SyncFolderOf(const std::string& /*path*/) {}

#else

bool GiveOrdinaryFileMode(int fd) {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return ::fchmod(fd, 0666 & ~mask) == 0;
}

bool SyncToDisk(int fd) {
  return ::fsync(fd) == 0;
}

bool SyncFileAt(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool synced = SyncToDisk(fd);
  ::close(fd);
  return synced;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

void SyncFolderOf(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  if (error) return;
  const int fd = ::open(absolute.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  static_cast<void>(::fsync(fd));
  ::close(fd);
}

#endif

}  // namespace veltra::platform
