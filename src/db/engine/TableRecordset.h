#pragma once
// A table-type recordset: one table, a current index, seek on it, and a row
// buffer that Edit/AddNew fill and Update writes with one prepared statement.
// A seek only positions the row: its columns are read when one is asked for.

#include <cstdint>
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
  EngineStatus seek(std::span<const std::string_view> keys, bool& found);
  EngineStatus edit();
  EngineStatus addNew();
  EngineStatus update();
  // The field's position for the calls below; a failure when the table has no such field.
  EngineStatus columnOf(std::string_view field, int& position) const;
  std::string columnName(int position) const {
    return position >= 0 && static_cast<size_t>(position) < table_.columns.size()
               ? table_.columns[position].name
               : std::string();
  }
  EngineStatus setFieldText(std::string_view field, std::string_view text);
  // A position comes from columnOf.
  EngineStatus setFieldText(int position, std::string_view text);
  // A number as its text would set it, without the text (see valueFromInteger).
  EngineStatus setFieldInteger(int position, std::int64_t value);
  EngineStatus setFieldReal(int position, double value);
  EngineStatus setFieldNull(int position);
  EngineStatus getField(int position, FieldValue& out);
  EngineStatus close();

 private:
  enum class Mode { None, Editing, Adding };
  TableRecordset(EngineDatabase& db, TableInfo table);
  EngineStatus existing(int position) const;
  EngineStatus assignable(int position) const;
  // Converts into the field's room with convert(column, value); the field
  // counts as given only when the conversion succeeded.
  template <class Convert>
  EngineStatus assign(int position, Convert convert);
  EngineStatus loadCurrent();
  const FieldValue& written(size_t position) const;
  Statement* seekStatement(size_t keyCount, EngineStatus& status);
  EngineStatus writeRow();
  EngineStatus describeFailure(const EngineStatus& status);
  Statement* writeStatement(EngineStatus& status);

  EngineDatabase& db_;
  TableInfo table_;
  const IndexInfo* index_ = nullptr;
  std::vector<int> keyColumns_;  // the positions of the current index's fields
  // One prepared seek per number of keys given: a shorter key matches on the leading fields.
  std::vector<std::unique_ptr<Statement>> seekStmts_;
  std::unique_ptr<Statement> loadStmt_;
  std::unique_ptr<Statement> insertStmt_;
  // An edit writes only the fields it changed, so unchanged keys are not
  // checked again against every relation; one prepared UPDATE per set of fields.
  std::map<std::vector<bool>, std::unique_ptr<Statement>> updateStmts_;
  // The fields given since Edit or AddNew: a new row takes the empty value of
  // every other field, an edited one keeps what is stored.
  std::vector<bool> assigned_;
  std::vector<FieldValue> row_;
  std::vector<FieldValue> emptyRow_;
  FieldValue key_;
  long long rowid_ = 0;
  bool hasCurrent_ = false;
  bool loaded_ = false;  // row_ holds the stored columns of the current row
  Mode mode_ = Mode::None;
};

}  // namespace veltra::db::engine
