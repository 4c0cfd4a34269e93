#pragma once
// A fresh directory per test, removed afterwards, so CTest can run tests in parallel.

#include <filesystem>
#include <string>

namespace veltra::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace veltra::testing
