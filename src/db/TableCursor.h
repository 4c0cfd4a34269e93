#pragma once
// The only way rows are written, and the way single rows are read by key.
// Values cross as text, which the engine converts to each field's type; bulk
// writers may give numbers as numbers, which the engine takes as their text.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "db/FieldValue.h"
#include "db/engine/EngineStatus.h"

namespace veltra::db {

class DatabaseConnection;
namespace engine {
class TableRecordset;
}

class TableCursor {
 public:
  TableCursor(DatabaseConnection* connection, const std::string& tableName);
  ~TableCursor();
  TableCursor(const TableCursor&) = delete;
  TableCursor& operator=(const TableCursor&) = delete;

  bool IsOpen() const { return open_; }
  bool SelectIndex(const std::string& indexName);
  // The key's texts, in the index's order; true only when a row with that key was found.
  bool Seek(std::span<const std::string> keys);
  // The keys the next seeks will ask for, on an index of one field, that the
  // engine may read at once; no box, as each seek still reports its own failure.
  void ExpectSeeks(std::span<const std::string_view> keys);
  bool Edit();
  bool AddNew();
  bool Update();
  // An empty text sets the field to NULL.
  bool SetField(const std::string& fieldName, std::string_view value);
  bool GetField(const std::string& fieldName, std::string& out);

  // The field's position, for callers that set the same fields on many rows
  // and would otherwise look each name up again every time; -1 (after the
  // box) when the table has no such field.
  int FieldPosition(const std::string& fieldName);
  // As SetField by name. A position of -1 does nothing and returns false:
  // FieldPosition has told already.
  bool SetField(int position, std::string_view value);
  // A number set as its text would set it, without spelling the text: the
  // import sets a dozen numbers on each of many thousands of rows.
  bool SetWholeNumber(int position, std::int64_t value);
  bool SetNumber(int position, double value);
  // For each pair (position, sourcePosition), gives the field at position the
  // value the field at sourcePosition of source took in source's last Update,
  // converted there already: a row written into two tables converts its
  // values once. notTaken gets the indexes in pairs of the fields that took
  // nothing, and nothing is shown, when there was none to take (see
  // TableRecordset::copyGiven): the caller then sets them as usual. The
  // values are written where source holds them: source is given nothing and
  // moved nowhere until this cursor's Update.
  void CopyGivenFields(std::span<const std::pair<int, int>> pairs, const TableCursor& source,
                       std::vector<std::size_t>& notTaken);

  static constexpr std::size_t MaxSeekKeys = 16;

 private:
  bool report(std::string_view sentence, const std::string& engineText);
  // Silent once bulk work was ended: its end is told once, when it is committed.
  bool report(std::string_view sentence, const engine::EngineStatus& status);
  bool reportField(const std::string& fieldName, std::string_view value,
                   const std::string& engineText);
  // The box of a value the field at position refused, shown as given; false.
  bool fieldRefused(int position, std::string_view shown, const std::string& engineText);
  std::string tableName() const { return tableName_.value_or(""); }

  DatabaseConnection* connection_;
  std::unique_ptr<engine::TableRecordset> recordset_;
  std::optional<std::string> tableName_;
  bool open_ = false;
  FieldValue valueBuffer_;
};

}  // namespace veltra::db
