#include "db/engine/TableRecordset.h"

#include <sqlite3.h>

#include <algorithm>

#include "db/PlainText.h"
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

FieldValue emptyValue(const ColumnInfo& column) {
  // A Yes/No field that is not given holds No, as in the engine.
  if (column.type == FieldType::Boolean) return FieldValue::ofInteger(column.type, 0);
  return FieldValue::null(column.type);
}

}  // namespace

TableRecordset::TableRecordset(EngineDatabase& db, TableInfo table)
    : db_(db), table_(std::move(table)) {}

TableRecordset::~TableRecordset() = default;

std::unique_ptr<TableRecordset> TableRecordset::open(EngineDatabase& db, const TableInfo& table,
                                                     EngineStatus& status) {
  std::unique_ptr<TableRecordset> recordset(new TableRecordset(db, table));
  for (const auto& column : table.columns) recordset->emptyRow_.push_back(emptyValue(column));
  recordset->row_ = recordset->emptyRow_;
  recordset->assigned_.assign(table.columns.size(), false);
  status = EngineStatus::success();
  return recordset;
}

EngineStatus TableRecordset::columnOf(std::string_view field, int& position) const {
  position = table_.columnIndex(field);
  if (position >= 0) return EngineStatus::success();
  return EngineStatus::failure("Il campo \"" + std::string(field) +
                               "\" non esiste nella tavola \"" + table_.name + "\".");
}

EngineStatus TableRecordset::setIndex(const std::string& indexName) {
  const IndexInfo* index = table_.index(indexName);
  if (index == nullptr)
    return EngineStatus::failure("L'indice \"" + indexName + "\" non esiste nella tavola \"" +
                                 table_.name + "\".");
  std::vector<int> keyColumns;
  for (const auto& field : index->fields) {
    int position = 0;
    if (auto status = columnOf(field, position); !status) return status;
    keyColumns.push_back(position);
  }
  index_ = index;
  keyColumns_ = std::move(keyColumns);
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

EngineStatus TableRecordset::seek(std::span<const std::string_view> keys, bool& found) {
  found = false;
  if (index_ == nullptr) return EngineStatus::failure("Nessun indice corrente per la ricerca.");
  if (keys.empty() || keys.size() > index_->fields.size())
    return EngineStatus::failure("La ricerca sull'indice \"" + index_->name + "\" vuole da 1 a " +
                                 std::to_string(index_->fields.size()) + " chiavi.");
  EngineStatus status;
  Statement* stmt = seekStatement(keys.size(), status);
  if (stmt == nullptr) return status;
  stmt->rewind();
  for (size_t i = 0; i < keys.size(); ++i) {
    const ColumnInfo& column = table_.columns[keyColumns_[i]];
    // A text longer than its field cannot be in the table: nothing is found,
    // nothing failed. A key of the wrong type stays a failure of the caller.
    if (column.type == FieldType::Text && Utf8Length(keys[i]) > static_cast<size_t>(column.size))
      return EngineStatus::success();
    if (status = valueFromText(column, keys[i], key_); !status) return status;
    stmt->bindValue(static_cast<int>(i + 1), key_);
  }
  if (stmt->step(status)) {
    found = true;
    rowid_ = stmt->columnInt(0);
    hasCurrent_ = true;
    loaded_ = false;
    mode_ = Mode::None;
  }
  stmt->rewind();
  return status;
}

// Reads the stored columns of the current row, except those an edit has given already.
EngineStatus TableRecordset::loadCurrent() {
  if (loaded_) return EngineStatus::success();
  EngineStatus status;
  if (!loadStmt_) {
    loadStmt_ = std::make_unique<Statement>(db_.handle(), loadSql(table_), status);
    if (!status) {
      loadStmt_.reset();
      return status;
    }
  }
  loadStmt_->rewind();
  loadStmt_->bindInt(1, rowid_);
  if (loadStmt_->step(status)) {
    for (size_t i = 0; i < table_.columns.size(); ++i)
      if (mode_ != Mode::Editing || !assigned_[i])
        row_[i] = loadStmt_->columnValue(static_cast<int>(i), table_.columns[i].type);
    loaded_ = true;
  } else if (status) {
    status = EngineStatus::failure("Il record corrente non esiste più nella tavola \"" +
                                   table_.name + "\".");
  }
  loadStmt_->rewind();
  return status;
}

EngineStatus TableRecordset::edit() {
  if (!hasCurrent_) return EngineStatus::failure("Nessun record corrente da modificare.");
  mode_ = Mode::Editing;
  assigned_.assign(row_.size(), false);
  return EngineStatus::success();
}

EngineStatus TableRecordset::addNew() {
  mode_ = Mode::Adding;
  assigned_.assign(row_.size(), false);
  return EngineStatus::success();
}

EngineStatus TableRecordset::existing(int position) const {
  if (position >= 0 && static_cast<size_t>(position) < row_.size()) return EngineStatus::success();
  return EngineStatus::failure("La tavola \"" + table_.name + "\" non ha il campo numero " +
                               std::to_string(position) + ".");
}

EngineStatus TableRecordset::assignable(int position) const {
  if (mode_ == Mode::None)
    return EngineStatus::failure(
        "Il record non è in modifica: serve Edit o AddNew prima di assegnare il campo.");
  return existing(position);
}

EngineStatus TableRecordset::setFieldText(std::string_view field, std::string_view text) {
  int position = 0;
  if (auto status = columnOf(field, position); !status) return status;
  return setFieldText(position, text);
}

template <class Convert>
EngineStatus TableRecordset::assign(int position, Convert convert) {
  if (auto status = assignable(position); !status) return status;
  // A value that does not convert leaves the field as it was: empty in a new
  // row, as stored in an edited one.
  auto status = convert(table_.columns[position], row_[position]);
  if (status) assigned_[position] = true;
  return status;
}

EngineStatus TableRecordset::setFieldText(int position, std::string_view text) {
  return assign(position, [text](const ColumnInfo& column, FieldValue& value) {
    return valueFromText(column, text, value);
  });
}

EngineStatus TableRecordset::setFieldInteger(int position, std::int64_t number) {
  return assign(position, [number](const ColumnInfo& column, FieldValue& value) {
    return valueFromInteger(column, number, value);
  });
}

EngineStatus TableRecordset::setFieldReal(int position, double number) {
  return assign(position, [number](const ColumnInfo& column, FieldValue& value) {
    return valueFromReal(column, number, value);
  });
}

EngineStatus TableRecordset::setFieldNull(int position) {
  if (auto status = assignable(position); !status) return status;
  FieldValue& value = row_[position];
  value.isNull = true;
  value.text.clear();
  assigned_[position] = true;
  return EngineStatus::success();
}

// The value a write takes for the field: a new row's field not given is empty.
const FieldValue& TableRecordset::written(size_t position) const {
  return mode_ == Mode::Adding && !assigned_[position] ? emptyRow_[position] : row_[position];
}

EngineStatus TableRecordset::getField(int position, FieldValue& out) {
  if (auto status = existing(position); !status) return status;
  if (mode_ != Mode::Adding) {
    if (!hasCurrent_) return EngineStatus::failure("Nessun record corrente.");
    if (mode_ != Mode::Editing || !assigned_[position])
      if (auto status = loadCurrent(); !status) return status;
  }
  out = written(static_cast<size_t>(position));
  return EngineStatus::success();
}

EngineStatus TableRecordset::update() {
  if (mode_ == Mode::None) return EngineStatus::failure("Update senza Edit o AddNew.");
  EngineStatus status = writeRow();
  if (status) {
    // The written row stays the current one, as after a seek; a new row's
    // stored values are read again when asked for.
    if (mode_ == Mode::Adding) {
      rowid_ = sqlite3_last_insert_rowid(db_.handle());
      loaded_ = false;
    }
    hasCurrent_ = true;
    mode_ = Mode::None;
  }
  return status;
}

Statement* TableRecordset::writeStatement(EngineStatus& status) {
  const bool adding = mode_ == Mode::Adding;
  auto& stmt = adding ? insertStmt_ : updateStmts_[assigned_];
  status = EngineStatus::success();
  if (!stmt) {
    stmt = std::make_unique<Statement>(
        db_.handle(), adding ? insertSql(table_) : updateSql(table_, assigned_), status);
    if (!status) stmt.reset();
  }
  return stmt.get();
}

EngineStatus TableRecordset::writeRow() {
  const bool adding = mode_ == Mode::Adding;
  if (!adding && std::find(assigned_.begin(), assigned_.end(), true) == assigned_.end())
    return EngineStatus::success();  // an edit that changed nothing has nothing to write
  EngineStatus status;
  Statement* stmt = writeStatement(status);
  if (stmt == nullptr) return status;
  // Every parameter is bound again before each run.
  stmt->rewind();
  int parameter = 0;
  for (size_t i = 0; i < row_.size(); ++i)
    if (adding || assigned_[i]) stmt->bindLastingValue(++parameter, written(i));
  if (!adding) stmt->bindInt(++parameter, rowid_);
  stmt->step(status);
  stmt->rewind();
  return status ? status : describeFailure(status);
}

// The description names the relation a key broke, so it needs the whole row
// as it was to be written.
EngineStatus TableRecordset::describeFailure(const EngineStatus& status) {
  if (mode_ == Mode::Editing && !loadCurrent()) return status;
  std::vector<FieldValue> row;
  row.reserve(row_.size());
  for (size_t i = 0; i < row_.size(); ++i) row.push_back(written(i));
  return describeWriteFailure(db_, table_, row, status);
}

EngineStatus TableRecordset::close() {
  seekStmts_.clear();
  loadStmt_.reset();
  insertStmt_.reset();
  updateStmts_.clear();
  index_ = nullptr;
  hasCurrent_ = false;
  loaded_ = false;
  mode_ = Mode::None;
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
