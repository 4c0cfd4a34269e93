#include "db/engine/TableRecordset.h"

#include <algorithm>

#include "db/PlainText.h"
#include "db/engine/ValueConversion.h"

namespace veltra::db::engine {

namespace {

FieldValue emptyValue(const ColumnInfo& column) {
  // A Yes/No field that is not given holds No, as in the engine.
  if (column.type == FieldType::Boolean) return FieldValue::ofInteger(column.type, 0);
  return FieldValue::null(column.type);
}

}  // namespace

TableRecordset::TableRecordset(TableInfo table) : table_(std::move(table)) {
  for (const auto& column : table_.columns) emptyRow_.push_back(emptyValue(column));
  row_ = emptyRow_;
  assigned_.assign(table_.columns.size(), false);
  writtenValues_.assign(table_.columns.size(), nullptr);
  for (const FieldValue& value : emptyRow_) emptyValues_.push_back(&value);
}

TableRecordset::~TableRecordset() = default;

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
  keys_.resize(keyColumns_.size());
  indexChanged();
  return EngineStatus::success();
}

EngineStatus TableRecordset::seek(std::span<const std::string_view> keys, bool& found) {
  found = false;
  if (index_ == nullptr) return EngineStatus::failure("Nessun indice corrente per la ricerca.");
  if (keys.empty() || keys.size() > index_->fields.size())
    return EngineStatus::failure("La ricerca sull'indice \"" + index_->name + "\" vuole da 1 a " +
                                 std::to_string(index_->fields.size()) + " chiavi.");
  for (size_t i = 0; i < keys.size(); ++i) {
    const ColumnInfo& column = table_.columns[keyColumns_[i]];
    // A text longer than its field cannot be in the table: nothing is found,
    // nothing failed. A key of the wrong type stays a failure of the caller.
    if (textTooLong(column, keys[i])) return EngineStatus::success();
    if (auto status = valueFromText(column, keys[i], keys_[i]); !status) return status;
  }
  std::int64_t rowid = 0;
  EngineStatus status = findRow(std::span(keys_).first(keys.size()), found, rowid);
  if (found) {
    rowid_ = rowid;
    hasCurrent_ = true;
    loaded_ = false;
    mode_ = Mode::None;
    forgetGiven();
  }
  return status;
}

EngineStatus TableRecordset::expectSeeks(std::span<const std::string_view>) {
  return EngineStatus::success();
}

std::vector<FieldValue> TableRecordset::expectedKeys(std::span<const std::string_view> keys) const {
  std::vector<FieldValue> values;
  if (index_ == nullptr || index_->fields.size() != 1) return values;
  const ColumnInfo& column = table_.columns[keyColumns_[0]];
  values.reserve(keys.size());
  for (const std::string_view key : keys) {
    if (textTooLong(column, key)) continue;
    if (valueFromText(column, key, values.emplace_back())) continue;
    values.pop_back();
  }
  return values;
}

FieldValue* TableRecordset::storedSlot(size_t position) {
  return mode_ == Mode::Editing && assigned_[position] ? nullptr : &row_[position];
}

// Reads the stored columns of the current row, except those an edit has given already.
EngineStatus TableRecordset::loadCurrent() {
  if (loaded_) return EngineStatus::success();
  // Outside an edit the row is read over the values last given: they are given no more.
  if (mode_ == Mode::None) forgetGiven();
  bool exists = false;
  EngineStatus status = readRow(rowid_, exists);
  if (!status) return status;
  if (!exists)
    return EngineStatus::failure("Il record corrente non esiste più nella tavola \"" + table_.name +
                                 "\".");
  loaded_ = true;
  return status;
}

EngineStatus TableRecordset::edit() {
  if (!hasCurrent_) return EngineStatus::failure("Nessun record corrente da modificare.");
  mode_ = Mode::Editing;
  forgetGiven();
  return EngineStatus::success();
}

EngineStatus TableRecordset::addNew() {
  mode_ = Mode::Adding;
  forgetGiven();
  return EngineStatus::success();
}

void TableRecordset::forgetGiven() {
  assigned_.assign(assigned_.size(), false);
  if (mode_ == Mode::Adding)
    std::copy(emptyValues_.begin(), emptyValues_.end(), writtenValues_.begin());
  else
    std::fill(writtenValues_.begin(), writtenValues_.end(), nullptr);
  tookValues_ = false;
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
  // Tested before any status is made, and one status returned as made: bulk
  // writers assign millions of fields, and moving a status copies its text.
  // A value that does not convert leaves the field as it was: empty in a new
  // row, as stored in an edited one.
  EngineStatus status = canAssign(position) ? convert(table_.columns[position], row_[position])
                                            : assignable(position);
  if (status) markGiven(static_cast<size_t>(position), &row_[position]);
  return status;
}

EngineStatus TableRecordset::setFieldText(int position, std::string_view text) {
  if (canAssign(position) && isTextAsItStands(table_.columns[position], text)) {
    FieldValue& value = row_[position];
    value.setText(FieldType::Text, text);
    markGiven(static_cast<size_t>(position), &value);
    return EngineStatus::success();
  }
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
  if (!canAssign(position)) return assignable(position);
  FieldValue& value = row_[position];
  value.isNull = true;
  value.text.clear();
  markGiven(static_cast<size_t>(position), &value);
  return EngineStatus::success();
}

EngineStatus TableRecordset::setFieldValue(int position, const FieldValue& given) {
  return assign(position, [&given](const ColumnInfo&, FieldValue& value) {
    value = given;
    return EngineStatus::success();
  });
}

void TableRecordset::copyGiven(std::span<const std::pair<int, int>> pairs,
                               const TableRecordset& source, std::vector<std::size_t>& notTaken) {
  notTaken.clear();
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const auto [position, sourcePosition] = pairs[i];
    if (canAssign(position) && source.tookValue(sourcePosition) &&
        alike(table_.columns[static_cast<size_t>(position)],
              source.table_.columns[static_cast<size_t>(sourcePosition)])) {
      markGiven(static_cast<size_t>(position),
                &source.written(static_cast<size_t>(sourcePosition)));
      tookValues_ = true;
    } else {
      notTaken.push_back(i);
    }
  }
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
  const bool adding = mode_ == Mode::Adding;
  // An edit that changed nothing has nothing to write.
  if (adding || std::find(assigned_.begin(), assigned_.end(), true) != assigned_.end()) {
    std::int64_t rowid = rowid_;
    if (auto status = writeRow(adding, rowid); !status) return status;
    // The written row stays the current one, as after a seek; a new row's
    // stored values are read again when asked for.
    if (adding) rowid_ = rowid;
    // Values taken from another recordset are its to change: the row is read
    // again when asked for, as a new row is.
    if (adding || tookValues_) loaded_ = false;
  }
  hasCurrent_ = true;
  mode_ = Mode::None;
  return EngineStatus::success();
}

EngineStatus TableRecordset::writtenRow(std::vector<FieldValue>& row) {
  if (mode_ == Mode::Editing)
    if (auto status = loadCurrent(); !status) return status;
  row.clear();
  row.reserve(row_.size());
  for (size_t i = 0; i < row_.size(); ++i) row.push_back(written(i));
  return EngineStatus::success();
}

EngineStatus TableRecordset::close() {
  releaseStatements();
  index_ = nullptr;
  hasCurrent_ = false;
  loaded_ = false;
  mode_ = Mode::None;
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
