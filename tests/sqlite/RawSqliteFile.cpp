#include "RawSqliteFile.h"

#include <fstream>
#include <iterator>

#include "db/sqlite/SqliteStatement.h"

namespace veltra::testing {

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

SqliteFile openForReading(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    db = nullptr;
  }
  return SqliteFile(db, sqlite3_close);
}

int executeRaw(sqlite3* db, const std::string& sql) {
  return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

int executeOnFile(const std::string& path, const std::string& sql) {
  sqlite3* opened = nullptr;
  sqlite3_open(path.c_str(), &opened);
  const SqliteFile db(opened, sqlite3_close);
  executeRaw(db.get(), "PRAGMA foreign_keys = ON");
  return executeRaw(db.get(), sql);
}

std::int64_t numberFrom(const std::string& path, const std::string& sql) {
  db::engine::EngineStatus status;
  const auto db = openForReading(path);
  if (!db) return -1;
  db::engine::SqliteStatement stmt(db.get(), sql, status);
  return stmt.step(status) ? stmt.columnInt(0) : -1;
}

std::vector<std::int64_t> pagesOf(const std::string& path, const std::string& name,
                                  const std::string& kind) {
  db::engine::EngineStatus status;
  const auto db = openForReading(path);
  if (!db) return {};
  db::engine::SqliteStatement stmt(
      db.get(), "SELECT pageno FROM dbstat WHERE name = ? AND pagetype = ? ORDER BY pageno",
      status);
  stmt.bindText(1, name);
  stmt.bindText(2, kind);
  std::vector<std::int64_t> pages;
  while (stmt.step(status)) pages.push_back(stmt.columnInt(0));
  return pages;
}

}  // namespace veltra::testing
