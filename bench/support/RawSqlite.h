#pragma once
// SQLite through its C API alone, for the baselines the benchmarks measure
// the program against: a connection and prepared statements that end with
// their scope, and a stop on any failure (a baseline that failed measured
// nothing).

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace veltra::bench {

[[noreturn]] inline void sqliteFailed(sqlite3* db, const char* what) {
  std::fprintf(stderr, "%s: %s\n", what, db != nullptr ? sqlite3_errmsg(db) : "no handle");
  std::abort();
}

struct StatementCloser {
  void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using RawStatement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

class RawDatabase {
 public:
  // Opened as the program opens its file: no creation, foreign keys on, a busy timeout.
  RawDatabase(const std::string& path, int flags) {
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) sqliteFailed(db_, "open");
    sqlite3_busy_timeout(db_, 10000);
    execute("PRAGMA foreign_keys = ON");
  }
  ~RawDatabase() { sqlite3_close(db_); }
  RawDatabase(const RawDatabase&) = delete;
  RawDatabase& operator=(const RawDatabase&) = delete;

  void execute(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) sqliteFailed(db_, sql);
  }
  RawStatement prepare(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) !=
        SQLITE_OK)
      sqliteFailed(db_, sql.c_str());
    return RawStatement(stmt);
  }
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace veltra::bench
