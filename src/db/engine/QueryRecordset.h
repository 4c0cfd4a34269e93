#pragma once
// A forward-only recordset over one statement of the engine's SQL dialect.
// Each engine runs it its own way; the columns are found by name alike.

#include <string>
#include <string_view>

#include "db/FieldValue.h"
#include "db/engine/EngineStatus.h"

namespace veltra::db::engine {

class QueryRecordset {
 public:
  QueryRecordset() = default;
  virtual ~QueryRecordset() = default;
  QueryRecordset(const QueryRecordset&) = delete;
  QueryRecordset& operator=(const QueryRecordset&) = delete;

  // Runs the statement up to its first row.
  virtual EngineStatus open() = 0;
  virtual EngineStatus moveNext() = 0;
  virtual bool atEnd() const = 0;

  virtual int columnCount() const = 0;
  virtual const std::string& columnName(int position) const = 0;
  EngineStatus getField(std::string_view name, FieldValue& out) const;
  virtual EngineStatus getField(int position, FieldValue& out) const = 0;
  // A text or date column as text ("GG/MM/AAAA" for a date) appended to
  // out: exports read every column of many thousands of rows into the room
  // of the one before, or straight into a line of their file. isText is
  // false, and out as it was, for a null or another type.
  virtual EngineStatus appendText(int position, std::string& out, bool& isText) const = 0;

 protected:
  // Success when there is a current row with that column. Every column of
  // every row read passes here: the test is inline, the failures' texts not.
  EngineStatus readable(int position) const {
    if (!atEnd() && position >= 0 && position < columnCount()) return EngineStatus::success();
    return unreadable(position);
  }

 private:
  EngineStatus unreadable(int position) const;
};

}  // namespace veltra::db::engine
