#pragma once
// A path kept in the settings must name the same place from wherever the
// program starts next.

#include <filesystem>
#include <string>
#include <system_error>

namespace veltra::cli {

inline std::string fullPath(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

}  // namespace veltra::cli
