#pragma once
// A database kept in the settings must name the same register from wherever
// the program starts next: a file by its full path, a server by its URI.

#include <filesystem>
#include <string>
#include <system_error>

#include "db/engine/EngineDatabase.h"

namespace veltra::cli {

inline std::string fullPath(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

inline std::string fullLocator(const std::string& locator) {
  return db::engine::EngineDatabase::isServerLocator(locator) ? locator : fullPath(locator);
}

}  // namespace veltra::cli
