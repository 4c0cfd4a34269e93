#pragma once
// A database file's bytes, to damage them as a disk would, and where its
// pages are.

#include <sqlite3.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "db/engine/Statement.h"

namespace veltra::testing {

inline std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

using SqliteFile = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

// The file open for reading with SQLite itself, past the program's engine.
inline SqliteFile openForReading(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  return SqliteFile(db, sqlite3_close);
}

// The pages of the table or index of that kind ("leaf", "internal"), in file order.
inline std::vector<std::int64_t> pagesOf(const std::string& path, const std::string& name,
                                         const std::string& kind) {
  db::engine::EngineStatus status;
  const auto db = openForReading(path);
  db::engine::Statement stmt(
      db.get(), "SELECT pageno FROM dbstat WHERE name = ? AND pagetype = ? ORDER BY pageno",
      status);
  stmt.bindText(1, name);
  stmt.bindText(2, kind);
  std::vector<std::int64_t> pages;
  while (stmt.step(status)) pages.push_back(stmt.columnInt(0));
  return pages;
}

}  // namespace veltra::testing
