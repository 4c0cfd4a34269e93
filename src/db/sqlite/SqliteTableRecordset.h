#pragma once
// The table recordset on SQLite: one prepared statement per kind of access,
// rows known by their rowid.

#include <map>
#include <memory>
#include <vector>

#include "db/engine/TableRecordset.h"

namespace veltra::db::engine {

class SqliteDatabase;
class SqliteStatement;

class SqliteTableRecordset final : public TableRecordset {
 public:
  SqliteTableRecordset(SqliteDatabase& db, TableInfo table);
  ~SqliteTableRecordset() override;

 private:
  void indexChanged() override;
  EngineStatus findRow(std::span<const FieldValue> keys, bool& found, std::int64_t& rowid) override;
  EngineStatus readRow(std::int64_t rowid, bool& exists) override;
  EngineStatus writeRow(bool adding, std::int64_t& rowid) override;
  void releaseStatements() override;

  SqliteStatement* seekStatement(size_t keyCount, EngineStatus& status);
  SqliteStatement* writeStatement(bool adding, EngineStatus& status);
  bool givesLastUpdateFields() const;
  EngineStatus describeFailure(const EngineStatus& status);

  SqliteDatabase& db_;
  // One prepared seek per number of keys given: a shorter key matches on the leading fields.
  std::vector<std::unique_ptr<SqliteStatement>> seekStmts_;
  std::unique_ptr<SqliteStatement> loadStmt_;
  std::unique_ptr<SqliteStatement> insertStmt_;
  // An edit writes only the fields it changed, so unchanged keys are not
  // checked again against every relation; one prepared UPDATE per set of fields.
  std::map<std::vector<bool>, std::unique_ptr<SqliteStatement>> updateStmts_;
  // The one last used: bulk edits change the same fields row after row.
  SqliteStatement* lastUpdate_ = nullptr;
  std::vector<char> lastUpdateFields_;
};

}  // namespace veltra::db::engine
