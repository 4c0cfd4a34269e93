#include "db/platform/Files.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <random>
// windows.h names its own ReplaceFileW so: this file's ReplaceFile is another.
#undef ReplaceFile
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#endif

namespace veltra::platform {

std::filesystem::path FilePath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Name(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return {name.begin(), name.end()};
}

#ifdef _WIN32

namespace {

std::wstring widePath(const std::string& path) {
  return FilePath(path).wstring();
}

}  // namespace

// Windows' C library has no mkstemp: names are tried until one is new, the
// exclusive creation making sure no other program's file is taken.
int CreateTemporaryFile(std::string& pattern) {
  static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<std::size_t> pick(0, sizeof Letters - 2);
  if (pattern.size() < 6) return -1;
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (std::size_t i = pattern.size() - 6; i < pattern.size(); ++i)
      pattern[i] = Letters[pick(random)];
    const int fd = _wopen(widePath(pattern).c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY,
                          _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

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

namespace {

// The characters no Windows file name holds; a colon is taken only after a
// drive's letter.
bool hasCharacterWindowsRefuses(const std::filesystem::path& path) {
  const std::wstring name = path.relative_path().wstring();
  return name.find_first_of(L"<>:\"|?*") != std::wstring::npos ||
         std::any_of(name.begin(), name.end(), [](wchar_t c) { return c < 32; });
}

// Opening the file again, sharing everything, fails only when another
// program opened it sharing nothing (Excel with a list open, a copy under
// way).
bool heldOpenElsewhere(const std::filesystem::path& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  const DWORD error = GetLastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

}  // namespace

std::string WhyFileRefused(const std::string& path) {
  const std::filesystem::path name = FilePath(path);
  if (hasCharacterWindowsRefuses(name))
    return "Il nome contiene un carattere che Windows non ammette nei nomi dei file "
           "(< > : \" | ? *).";
  if (heldOpenElsewhere(name))
    return "Il file è aperto da un altro programma: chiuderlo e riprovare.";
  return {};
}

#else

int CreateTemporaryFile(std::string& pattern) {
  return ::mkstemp(pattern.data());
}

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

// Every character but the separator may stand in a name, and no program
// keeps others from a file it holds open.
std::string WhyFileRefused(const std::string& /*path*/) {
  return {};
}

#endif

}  // namespace veltra::platform
