#pragma once
// A table-type recordset: one table, a current index, seek on it, and a row
// buffer that Edit/AddNew fill and Update writes with one prepared statement.

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "db/FieldValue.h"
#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"

struct sqlite3_stmt;

namespace veltra::db::engine {

class EngineDatabase;
class Statement;

class TableRecordset {
public:
  static std::unique_ptr<TableRecordset> open(EngineDatabase& db, const TableInfo& table,
                                              EngineStatus& status);
  ~TableRecordset();
  TableRecordset(const TableRecordset&) = delete;
  TableRecordset& operator=(const TableRecordset&) = delete;

  // Row locking happens in the engine while a write runs; kept for the callers' order.
  EngineStatus setPessimisticLocking() { return EngineStatus::success(); }
  EngineStatus setIndex(const std::string& indexName);
  EngineStatus seek(std::span<const std::string> keys, bool& found);
  EngineStatus edit();
  EngineStatus addNew();
  EngineStatus update();
  EngineStatus setFieldText(std::string_view field, std::string_view text);
  EngineStatus setFieldNull(std::string_view field);
  EngineStatus getField(std::string_view field, FieldValue& out) const;
  EngineStatus close();

private:
  enum class Mode { None, Editing, Adding };
  TableRecordset(EngineDatabase& db, TableInfo table);
  EngineStatus columnOf(std::string_view field, int& position) const;
  EngineStatus loadRow(Statement& stmt);
  Statement* seekStatement(size_t keyCount, EngineStatus& status);
  EngineStatus writeRow();
  Statement* writeStatement(EngineStatus& status);

  EngineDatabase& db_;
  TableInfo table_;
  const IndexInfo* index_ = nullptr;
  // One prepared seek per number of keys given: a shorter key matches on the leading fields.
  std::vector<std::unique_ptr<Statement>> seekStmts_;
  std::unique_ptr<Statement> insertStmt_;
  // An edit writes only the fields it changed, so unchanged keys are not
  // checked again against every relation; one prepared UPDATE per set of fields.
  std::map<std::vector<bool>, std::unique_ptr<Statement>> updateStmts_;
  std::vector<bool> changed_;
  std::vector<FieldValue> row_;
  long long rowid_ = 0;
  bool hasCurrent_ = false;
  Mode mode_ = Mode::None;
};

}  // namespace veltra::db::engine
