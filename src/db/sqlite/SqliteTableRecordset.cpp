#include "db/sqlite/SqliteTableRecordset.h"

#include <sqlite3.h>

#include <algorithm>

#include "db/engine/TableDef.h"
#include "db/sqlite/SqliteDatabase.h"
#include "db/sqlite/SqliteStatement.h"
#include "db/sqlite/SqliteWriteFailure.h"

namespace veltra::db::engine {

namespace {

std::string columnList(const TableInfo& table) {
  std::string list;
  for (size_t i = 0; i < table.columns.size(); ++i)
    list += (i > 0 ? ", " : "") + quoteIdentifier(table.columns[i].name);
  return list;
}

std::string insertSql(const TableInfo& table) {
  std::string values;
  for (size_t i = 0; i < table.columns.size(); ++i) values += i > 0 ? ", ?" : "?";
  return "INSERT INTO " + quoteIdentifier(table.name) + " (" + columnList(table) + ") VALUES (" +
         values + ")";
}

std::string updateSql(const TableInfo& table, const std::vector<bool>& changed) {
  std::string assignments;
  for (size_t i = 0; i < table.columns.size(); ++i)
    if (changed[i])
      assignments +=
          (assignments.empty() ? "" : ", ") + quoteIdentifier(table.columns[i].name) + " = ?";
  return "UPDATE " + quoteIdentifier(table.name) + " SET " + assignments + " WHERE rowid = ?";
}

// Only the rowid: a seek before an Edit needs no column, and a read loads them then.
std::string seekSql(const TableInfo& table, const IndexInfo& index, size_t keyCount) {
  std::string where, order;
  for (size_t i = 0; i < index.fields.size(); ++i) {
    if (i < keyCount)
      where += (i > 0 ? " AND " : "") + quoteIdentifier(index.fields[i]) + " = ?";
    else
      order += (order.empty() ? " ORDER BY " : ", ") + quoteIdentifier(index.fields[i]);
  }
  return "SELECT rowid FROM " + quoteIdentifier(table.name) + " WHERE " + where + order +
         " LIMIT 1";
}

std::string loadSql(const TableInfo& table) {
  return "SELECT " + columnList(table) + " FROM " + quoteIdentifier(table.name) +
         " WHERE rowid = ?";
}

}  // namespace

SqliteTableRecordset::SqliteTableRecordset(SqliteDatabase& db, TableInfo table)
    : TableRecordset(std::move(table)), db_(db) {}

SqliteTableRecordset::~SqliteTableRecordset() = default;

void SqliteTableRecordset::indexChanged() {
  seekStmts_.clear();
  seekStmts_.resize(currentIndex().fields.size());
}

SqliteStatement* SqliteTableRecordset::seekStatement(size_t keyCount, EngineStatus& status) {
  auto& stmt = seekStmts_[keyCount - 1];
  status = EngineStatus::success();
  if (!stmt) {
    stmt = std::make_unique<SqliteStatement>(db_.handle(),
                                             seekSql(table(), currentIndex(), keyCount), status);
    if (!status) stmt.reset();
  }
  return stmt.get();
}

EngineStatus SqliteTableRecordset::findRow(std::span<const FieldValue> keys, bool& found,
                                           std::int64_t& rowid) {
  EngineStatus status;
  SqliteStatement* stmt = seekStatement(keys.size(), status);
  if (stmt == nullptr) return status;
  stmt->rewind();
  // The keys stay put until the rewind below.
  for (size_t i = 0; i < keys.size(); ++i) stmt->bindLastingValue(static_cast<int>(i + 1), keys[i]);
  if (stmt->step(status)) {
    found = true;
    rowid = stmt->columnInt(0);
  }
  stmt->rewind();
  return status;
}

EngineStatus SqliteTableRecordset::readRow(std::int64_t rowid, bool& exists) {
  EngineStatus status;
  if (!loadStmt_) {
    loadStmt_ = std::make_unique<SqliteStatement>(db_.handle(), loadSql(table()), status);
    if (!status) {
      loadStmt_.reset();
      return status;
    }
  }
  loadStmt_->rewind();
  loadStmt_->bindInt(1, rowid);
  exists = loadStmt_->step(status);
  if (exists)
    for (size_t i = 0; i < table().columns.size(); ++i)
      if (FieldValue* slot = storedSlot(i))
        loadStmt_->readColumn(static_cast<int>(i), table().columns[i].type, *slot);
  loadStmt_->rewind();
  return status;
}

SqliteStatement* SqliteTableRecordset::writeStatement(bool adding, EngineStatus& status) {
  status = EngineStatus::success();
  if (!adding && lastUpdate_ != nullptr && givesLastUpdateFields()) return lastUpdate_;
  auto& stmt = adding ? insertStmt_ : updateStmts_[assigned()];
  if (!stmt) {
    stmt = std::make_unique<SqliteStatement>(
        db_.handle(), adding ? insertSql(table()) : updateSql(table(), assigned()), status);
    if (!status) stmt.reset();
  }
  if (!adding && stmt) {
    lastUpdate_ = stmt.get();
    lastUpdateFields_.assign(assigned().begin(), assigned().end());
  }
  return stmt.get();
}

// A column at a time: comparing the sets of given fields as vectors of bits
// goes one bit at a time, and bulk edits ask on every row.
bool SqliteTableRecordset::givesLastUpdateFields() const {
  const auto values = writtenValues();
  return std::equal(
      values.begin(), values.end(), lastUpdateFields_.begin(), lastUpdateFields_.end(),
      [](const FieldValue* value, char given) { return (value != nullptr) == (given != 0); });
}

EngineStatus SqliteTableRecordset::writeRow(bool adding, std::int64_t& rowid) {
  EngineStatus status;
  SqliteStatement* stmt = writeStatement(adding, status);
  if (stmt == nullptr) return status;
  // Every parameter is bound again before each run.
  stmt->rewind();
  int parameter = 0;
  for (const FieldValue* value : writtenValues())
    if (value != nullptr) stmt->bindLastingValue(++parameter, *value);
  if (!adding) stmt->bindInt(++parameter, rowid);
  stmt->step(status);
  stmt->rewind();
  if (!status) return describeFailure(status);
  if (adding) rowid = sqlite3_last_insert_rowid(db_.handle());
  return status;
}

// The description names the relation a key broke, so it needs the whole row
// as it was to be written.
EngineStatus SqliteTableRecordset::describeFailure(const EngineStatus& status) {
  std::vector<FieldValue> row;
  if (!writtenRow(row)) return status;
  return describeWriteFailure(db_, table(), row, status);
}

void SqliteTableRecordset::releaseStatements() {
  seekStmts_.clear();
  loadStmt_.reset();
  insertStmt_.reset();
  updateStmts_.clear();
  lastUpdate_ = nullptr;
}

}  // namespace veltra::db::engine
