#pragma once
// A prepared statement owned by RAII, with the few calls the adapter needs.
// Internal to the engine adapter.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "db/FieldValue.h"
#include "db/engine/EngineStatus.h"

struct sqlite3;
struct sqlite3_stmt;

namespace veltra::db::engine {

class SqliteStatement {
 public:
  SqliteStatement(sqlite3* db, std::string_view sql, EngineStatus& status);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  bool prepared() const { return stmt_ != nullptr; }
  // Step result: true with a row, false when done; status tells failures. A
  // bind that failed since the last reset fails the step instead of letting
  // it run with that parameter left null.
  bool step(EngineStatus& status);
  // Readies the statement to run again with new bindings; failed() stays.
  void reset();
  // The same for a caller that binds every parameter before each run: the
  // old bindings are left to be replaced instead of cleared first.
  void rewind();
  int lastCode() const { return lastCode_; }
  // True once a bind or a step failed, whatever ran after it: whether every
  // run of a statement run many times went through.
  bool failed() const { return failed_; }

  void bindNull(int index);
  void bindInt(int index, std::int64_t value);
  void bindDouble(int index, double value);
  void bindText(int index, std::string_view text);
  void bindBlob(int index, std::string_view bytes);
  // Binds the value of a column of another statement's current row, as stored.
  void bindColumnOf(int index, const SqliteStatement& source, int column);
  // Binds a typed value in its stored form (dates as YYYY-MM-DD text).
  void bindValue(int index, const FieldValue& value);
  // The same without copying texts: the value must outlive the next step.
  // A date's stored text is kept in the statement's own room.
  void bindLastingValue(int index, const FieldValue& value);

  int columnCount() const;
  std::string columnName(int column) const;
  const char* declaredType(int column) const;
  bool isNull(int column) const;
  bool holdsText(int column) const;
  std::int64_t columnInt(int column) const;
  std::string columnText(int column) const;
  // The stored value read back as the given field type.
  FieldValue columnValue(int column, FieldType type) const;
  // The same into out, whose text keeps its room: exports read every column
  // of hundreds of thousands of rows.
  void readColumn(int column, FieldType type, FieldValue& out) const;
  // The stored value typed by the column's declared type, or by what is stored
  // when the column is an expression.
  FieldValue columnValue(int column) const;
  // A text, memo or date column as the program shows it, appended to out:
  // the bytes of a text, "GG/MM/AAAA" for a stored date (a date column
  // holding something else gives that text). False, out untouched, for a null
  // and for the other types.
  bool appendText(int column, FieldType type, std::string& out) const;

  sqlite3_stmt* handle() const { return stmt_; }

 private:
  void noteBind(int code);
  // Ten characters for the stored text of the date bound to the parameter;
  // none for a parameter the statement does not have.
  char* dateRoom(int index);
  // Binds the stored text of the date day (a day number) to the parameter;
  // false when the date has no such text.
  bool bindLastingDate(int index, double day);
  // The bytes at data, the column's text or blob just fetched; empty for none.
  std::string_view columnBytes(int column, const void* data) const;

  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  int lastCode_ = 0;
  bool failed_ = false;
  EngineStatus bindStatus_;  // the first bind failure since the last reset
  bool stepped_ = false;     // run since the last reset
  // Made once for every parameter, so that binding one never moves another's.
  std::unique_ptr<char[]> dateRoom_;
  // The day each room spells now: rows of one file share many dates, and the
  // date of the communication is on every row.
  std::unique_ptr<double[]> roomDay_;
  int roomCount_ = 0;  // the statement's parameters, each with its room
};

// The engine's description of the last failure on the handle.
EngineStatus engineFailure(sqlite3* db, int code);

}  // namespace veltra::db::engine
