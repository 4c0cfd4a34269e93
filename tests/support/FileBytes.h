#pragma once
// A database file's bytes, to damage them as a disk would, and where its
// pages are.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "db/engine/EngineDatabase.h"
#include "db/engine/Statement.h"

namespace veltra::testing {

inline std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The pages of the table or index of that kind ("leaf", "internal"), in file order.
inline std::vector<std::int64_t> pagesOf(const std::string& path, const std::string& name,
                                         const std::string& kind) {
  db::engine::EngineStatus status;
  auto db = db::engine::EngineDatabase::open(path, status);
  db::engine::Statement stmt(
      db->handle(), "SELECT pageno FROM dbstat WHERE name = ? AND pagetype = ? ORDER BY pageno",
      status);
  stmt.bindText(1, name);
  stmt.bindText(2, kind);
  std::vector<std::int64_t> pages;
  while (stmt.step(status)) pages.push_back(stmt.columnInt(0));
  return pages;
}

}  // namespace veltra::testing
