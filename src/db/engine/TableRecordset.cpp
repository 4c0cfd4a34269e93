#include "db/engine/TableRecordset.h"

#include <sqlite3.h>

#include <algorithm>

#include "db/engine/EngineDatabase.h"
#include "db/engine/Statement.h"
#include "db/engine/TableDef.h"
#include "db/engine/ValueConversion.h"
#include "db/engine/WriteFailure.h"

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
      assignments += (assignments.empty() ? "" : ", ") + quoteIdentifier(table.columns[i].name) + " = ?";
  return "UPDATE " + quoteIdentifier(table.name) + " SET " + assignments + " WHERE rowid = ?";
}

std::string seekSql(const TableInfo& table, const IndexInfo& index, size_t keyCount) {
  std::string where, order;
  for (size_t i = 0; i < index.fields.size(); ++i) {
    if (i < keyCount)
      where += (i > 0 ? " AND " : "") + quoteIdentifier(index.fields[i]) + " = ?";
    else
      order += (order.empty() ? " ORDER BY " : ", ") + quoteIdentifier(index.fields[i]);
  }
  return "SELECT rowid, " + columnList(table) + " FROM " + quoteIdentifier(table.name) + " WHERE " +
         where + order + " LIMIT 1";
}

FieldValue emptyValue(const ColumnInfo& column) {
  // A Yes/No field that is not given holds No, as in the engine.
  if (column.type == FieldType::Boolean) return FieldValue::ofInteger(column.type, 0);
  return FieldValue::null(column.type);
}

}  // namespace

TableRecordset::TableRecordset(EngineDatabase& db, TableInfo table) : db_(db), table_(std::move(table)) {}

TableRecordset::~TableRecordset() = default;

std::unique_ptr<TableRecordset> TableRecordset::open(EngineDatabase& db, const TableInfo& table,
                                                     EngineStatus& status) {
  std::unique_ptr<TableRecordset> recordset(new TableRecordset(db, table));
  recordset->row_.reserve(table.columns.size());
  for (const auto& column : table.columns) recordset->row_.push_back(emptyValue(column));
  status = EngineStatus::success();
  return recordset;
}

EngineStatus TableRecordset::columnOf(std::string_view field, int& position) const {
  position = table_.columnIndex(field);
  if (position >= 0) return EngineStatus::success();
  return EngineStatus::failure("Il campo \"" + std::string(field) + "\" non esiste nella tavola \"" +
                               table_.name + "\".");
}

EngineStatus TableRecordset::setIndex(const std::string& indexName) {
  const IndexInfo* index = table_.index(indexName);
  if (index == nullptr)
    return EngineStatus::failure("L'indice \"" + indexName + "\" non esiste nella tavola \"" +
                                 table_.name + "\".");
  index_ = index;
  seekStmts_.clear();
  seekStmts_.resize(index->fields.size());
  EngineStatus status;
  seekStatement(index->fields.size(), status);
  return status;
}

Statement* TableRecordset::seekStatement(size_t keyCount, EngineStatus& status) {
  auto& stmt = seekStmts_[keyCount - 1];
  status = EngineStatus::success();
  if (!stmt) {
    stmt = std::make_unique<Statement>(db_.handle(), seekSql(table_, *index_, keyCount), status);
    if (!status) stmt.reset();
  }
  return stmt.get();
}

EngineStatus TableRecordset::seek(std::span<const std::string> keys, bool& found) {
  found = false;
  if (index_ == nullptr) return EngineStatus::failure("Nessun indice corrente per la ricerca.");
  if (keys.empty() || keys.size() > index_->fields.size())
    return EngineStatus::failure("La ricerca sull'indice \"" + index_->name + "\" vuole da 1 a " +
                                 std::to_string(index_->fields.size()) + " chiavi.");
  EngineStatus status;
  Statement* stmt = seekStatement(keys.size(), status);
  if (stmt == nullptr) return status;
  stmt->reset();
  for (size_t i = 0; i < keys.size(); ++i) {
    const ColumnInfo& column = table_.columns[table_.columnIndex(index_->fields[i])];
    FieldValue key;
    if (status = valueFromText(column, keys[i], key); !status) return status;
    stmt->bindValue(static_cast<int>(i + 1), key);
  }
  if (stmt->step(status)) {
    found = true;
    status = loadRow(*stmt);
  }
  stmt->reset();
  return status;
}

EngineStatus TableRecordset::loadRow(Statement& stmt) {
  rowid_ = stmt.columnInt(0);
  for (size_t i = 0; i < table_.columns.size(); ++i)
    row_[i] = stmt.columnValue(static_cast<int>(i + 1), table_.columns[i].type);
  hasCurrent_ = true;
  mode_ = Mode::None;
  return EngineStatus::success();
}

EngineStatus TableRecordset::edit() {
  if (!hasCurrent_) return EngineStatus::failure("Nessun record corrente da modificare.");
  mode_ = Mode::Editing;
  changed_.assign(row_.size(), false);
  return EngineStatus::success();
}

EngineStatus TableRecordset::addNew() {
  for (size_t i = 0; i < table_.columns.size(); ++i) row_[i] = emptyValue(table_.columns[i]);
  mode_ = Mode::Adding;
  return EngineStatus::success();
}

EngineStatus TableRecordset::setFieldText(std::string_view field, std::string_view text) {
  int position = 0;
  if (auto status = columnOf(field, position); !status) return status;
  if (mode_ == Mode::None)
    return EngineStatus::failure("Il record non è in modifica: serve Edit o AddNew prima di assegnare il campo.");
  if (mode_ == Mode::Editing) changed_[position] = true;
  return valueFromText(table_.columns[position], text, row_[position]);
}

EngineStatus TableRecordset::setFieldNull(std::string_view field) {
  int position = 0;
  if (auto status = columnOf(field, position); !status) return status;
  if (mode_ == Mode::None)
    return EngineStatus::failure("Il record non è in modifica: serve Edit o AddNew prima di assegnare il campo.");
  row_[position] = FieldValue::null(table_.columns[position].type);
  if (mode_ == Mode::Editing) changed_[position] = true;
  return EngineStatus::success();
}

EngineStatus TableRecordset::getField(std::string_view field, FieldValue& out) const {
  int position = 0;
  if (auto status = columnOf(field, position); !status) return status;
  if (!hasCurrent_ && mode_ == Mode::None) return EngineStatus::failure("Nessun record corrente.");
  out = row_[position];
  return EngineStatus::success();
}

EngineStatus TableRecordset::update() {
  if (mode_ == Mode::None) return EngineStatus::failure("Update senza Edit o AddNew.");
  EngineStatus status = writeRow();
  if (status) {
    // The written row stays the current one, as after a seek.
    if (mode_ == Mode::Adding) rowid_ = sqlite3_last_insert_rowid(db_.handle());
    hasCurrent_ = true;
    mode_ = Mode::None;
  }
  return status;
}

Statement* TableRecordset::writeStatement(EngineStatus& status) {
  const bool adding = mode_ == Mode::Adding;
  auto& stmt = adding ? insertStmt_ : updateStmts_[changed_];
  status = EngineStatus::success();
  if (!stmt) {
    stmt = std::make_unique<Statement>(db_.handle(), adding ? insertSql(table_) : updateSql(table_, changed_),
                                       status);
    if (!status) stmt.reset();
  }
  return stmt.get();
}

EngineStatus TableRecordset::writeRow() {
  const bool adding = mode_ == Mode::Adding;
  if (!adding && std::find(changed_.begin(), changed_.end(), true) == changed_.end())
    return EngineStatus::success();  // an edit that changed nothing has nothing to write
  EngineStatus status;
  Statement* stmt = writeStatement(status);
  if (stmt == nullptr) return status;
  stmt->reset();
  int parameter = 0;
  for (size_t i = 0; i < row_.size(); ++i)
    if (adding || changed_[i]) stmt->bindLastingValue(++parameter, row_[i]);
  if (!adding) stmt->bindInt(++parameter, rowid_);
  stmt->step(status);
  stmt->reset();
  if (!status) return describeWriteFailure(db_, table_, row_, status);
  return status;
}

EngineStatus TableRecordset::close() {
  seekStmts_.clear();
  insertStmt_.reset();
  updateStmts_.clear();
  index_ = nullptr;
  hasCurrent_ = false;
  mode_ = Mode::None;
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
