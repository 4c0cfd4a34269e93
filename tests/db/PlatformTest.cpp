#include <gtest/gtest.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "db/platform/Files.h"
#include "db/platform/LocalTime.h"
#include "support/TempDir.h"

namespace veltra::platform {
namespace {

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Windows files have no POSIX modes.
#ifndef _WIN32
TEST(PlatformFiles, ATemporaryFileGetsTheModeOfAnOrdinaryOne) {
  testing::TempDir dir;
  std::string pattern = dir.file("temp.XXXXXX");
  const int fd = ::mkstemp(pattern.data());
  ASSERT_GE(fd, 0);
  const mode_t mask = ::umask(022);
  EXPECT_TRUE(GiveOrdinaryFileMode(fd));
  EXPECT_TRUE(SyncToDisk(fd));
  ::umask(mask);
  ::close(fd);
  struct stat status {};
  ASSERT_EQ(::stat(pattern.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
}
#endif

// A name with letters outside ASCII reaches the system whole and comes back
// as it was: Windows would take a narrow name in its own code page.
TEST(PlatformFiles, TemporaryFilesWithAccentedNamesAreNewEachTime) {
  testing::TempDir dir;
  // Not TempDir::file, whose names are in the system's code page on Windows.
  const auto inDir = [&](const std::string& name) { return Utf8Name(dir.path() / FilePath(name)); };
  std::string first = inDir("Società.XXXXXX");
  std::string second = first;
  const int firstFd = CreateTemporaryFile(first);
  const int secondFd = CreateTemporaryFile(second);
  ASSERT_GE(firstFd, 0);
  ASSERT_GE(secondFd, 0);
  ::close(firstFd);
  ::close(secondFd);
  EXPECT_NE(first, second);
  EXPECT_TRUE(first.starts_with(inDir("Società.")) && !first.ends_with("XXXXXX")) << first;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    names.push_back(inDir(Utf8Name(entry.path().filename())));
  std::sort(names.begin(), names.end());
  std::vector<std::string> made{first, second};
  std::sort(made.begin(), made.end());
  EXPECT_EQ(names, made);
}

TEST(PlatformFiles, ReplacesAnExistingFileAndLeavesBothWhenItCannot) {
  testing::TempDir dir;
  const std::string from = dir.file("new.txt");
  const std::string to = dir.file("old.txt");
  std::ofstream(from) << "nuovo";
  std::ofstream(to) << "vecchio";
  EXPECT_FALSE(ReplaceFile(dir.file("missing.txt"), to));
  EXPECT_EQ(contents(to), "vecchio");
  EXPECT_TRUE(ReplaceFile(from, to));
  SyncFolderOf(to);
  EXPECT_EQ(contents(to), "nuovo");
  EXPECT_FALSE(std::ifstream(from).is_open());
}

TEST(PlatformTime, GivesTheClockOfTheUsersTimeZone) {
  const char* saved = std::getenv("TZ");
  const std::string previous = saved != nullptr ? saved : "";
  // Central European time as a rule of its own, without the time-zone database.
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  // 1 July 2024, 10:30 UTC: 12:30 in summer time.
  const std::tm local = LocalTime(1719829800);
  EXPECT_EQ(local.tm_year + 1900, 2024);
  EXPECT_EQ(local.tm_mon + 1, 7);
  EXPECT_EQ(local.tm_mday, 1);
  EXPECT_EQ(local.tm_hour, 12);
  EXPECT_EQ(local.tm_min, 30);
  if (saved != nullptr)
    setenv("TZ", previous.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace veltra::platform
