#pragma once
// A table-type recordset: one table, a current index, seek on it, and a row
// buffer that Edit/AddNew fill and Update writes. The buffer and its rules are
// the same on every engine; each engine finds, reads and writes the rows.
// A seek only positions the row: its columns are read when one is asked for.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "db/FieldValue.h"
#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"

namespace veltra::db::engine {

class TableRecordset {
 public:
  explicit TableRecordset(TableInfo table);
  virtual ~TableRecordset();
  TableRecordset(const TableRecordset&) = delete;
  TableRecordset& operator=(const TableRecordset&) = delete;

  EngineStatus setIndex(const std::string& indexName);
  EngineStatus seek(std::span<const std::string_view> keys, bool& found);
  // The keys the next seeks will ask for, on an index of one field: an engine
  // that would go to the server for each seek may read their rows at once;
  // one whose seeks cost little does nothing. A seek not announced works as ever.
  virtual EngineStatus expectSeeks(std::span<const std::string_view> keys);
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
  // A value already of the field's type, as another recordset read it.
  EngineStatus setFieldValue(int position, const FieldValue& value);
  // For each pair (position, sourcePosition), gives the field the value
  // source's field took in source's last write, converted there already.
  // notTaken gets the indexes in pairs of the fields given nothing, because
  // source's field took none (it was not given, or refused, or the row was
  // moved from or read since) or the two fields differ in type or size. The
  // values are not copied: the write takes them where source holds them, so
  // source must be given nothing and moved nowhere until this recordset's
  // next write. A row written into two tables takes tens of fields at once.
  void copyGiven(std::span<const std::pair<int, int>> pairs, const TableRecordset& source,
                 std::vector<std::size_t>& notTaken);
  EngineStatus getField(int position, FieldValue& out);
  EngineStatus close();

 protected:
  enum class Mode { None, Editing, Adding };

  const TableInfo& table() const { return table_; }
  const IndexInfo& currentIndex() const { return *index_; }
  Mode mode() const { return mode_; }
  // Whether a write includes the field: every field of a new row, the given ones of an edit.
  bool writes(size_t position) const { return writtenValues_[position] != nullptr; }
  const std::vector<bool>& assigned() const { return assigned_; }
  // The value a write takes for the field: a new row's field not given is empty.
  // Inline: writers ask it for every column of every row.
  const FieldValue& written(size_t position) const {
    const FieldValue* value = writtenValues_[position];
    return value != nullptr ? *value : row_[position];
  }
  // For each column, the value the write takes, or null for a column an edit
  // leaves as stored: one look per column for the writers.
  std::span<const FieldValue* const> writtenValues() const { return writtenValues_; }
  // Where the engine puts a stored column of the current row; none for a
  // field an edit has given already.
  FieldValue* storedSlot(size_t position);
  std::int64_t rowId() const { return rowid_; }
  // The keys given to expectSeeks as values of the current index's one
  // field; none for an index of more fields, and none the field cannot hold.
  std::vector<FieldValue> expectedKeys(std::span<const std::string_view> keys) const;
  // The whole row as it was to be written, for describing a refused write.
  EngineStatus writtenRow(std::vector<FieldValue>& row);

 private:
  // The engine's part. keys are converted to the key fields' types already.
  virtual void indexChanged() = 0;
  virtual EngineStatus findRow(std::span<const FieldValue> keys, bool& found,
                               std::int64_t& rowid) = 0;
  // Fills storedSlot() of every column from the row rowid; exists false when it is gone.
  virtual EngineStatus readRow(std::int64_t rowid, bool& exists) = 0;
  // Inserts (setting rowid to the new row's) or updates the row rowid.
  virtual EngineStatus writeRow(bool adding, std::int64_t& rowid) = 0;
  virtual void releaseStatements() = 0;

  EngineStatus existing(int position) const;
  // Why the field cannot be given now; success when it can.
  EngineStatus assignable(int position) const;
  bool canAssign(int position) const {
    return mode_ != Mode::None && position >= 0 &&
           static_cast<size_t>(position) < writtenValues_.size();
  }
  // Converts into the field's room with convert(column, value); the field
  // counts as given only when the conversion succeeded.
  template <class Convert>
  EngineStatus assign(int position, Convert convert);
  EngineStatus loadCurrent();
  // Whether the field at position was given a value since Edit or AddNew.
  bool tookValue(int position) const {
    return position >= 0 && static_cast<size_t>(position) < writtenValues_.size() &&
           assigned_[static_cast<size_t>(position)];
  }
  // Equal fields take and refuse the same texts and numbers alike.
  static bool alike(const ColumnInfo& a, const ColumnInfo& b) {
    return a.type == b.type && a.size == b.size;
  }
  // No field given: a new row takes every field's empty value, an edit none.
  void forgetGiven();
  void markGiven(size_t position, const FieldValue* value) {
    assigned_[position] = true;
    writtenValues_[position] = value;
  }

  TableInfo table_;
  const IndexInfo* index_ = nullptr;
  std::vector<int> keyColumns_;  // the positions of the current index's fields
  // The fields given since Edit or AddNew: a new row takes the empty value of
  // every other field, an edited one keeps what is stored.
  std::vector<bool> assigned_;
  std::vector<FieldValue> row_;
  std::vector<FieldValue> emptyRow_;
  // What writtenValues() gives: a given field's value in row_ or where
  // copyGiven found it, a new row's other fields their empty values.
  std::vector<const FieldValue*> writtenValues_;
  std::vector<const FieldValue*> emptyValues_;  // every field of emptyRow_
  bool tookValues_ = false;                     // a field's value lies in another recordset
  std::vector<FieldValue> keys_;
  std::int64_t rowid_ = 0;
  bool hasCurrent_ = false;
  bool loaded_ = false;  // row_ holds the stored columns of the current row
  Mode mode_ = Mode::None;
};

}  // namespace veltra::db::engine
