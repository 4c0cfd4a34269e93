#include "db/sqlite/SqliteStatement.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "db/CalendarDate.h"
#include "db/FieldValueText.h"
#include "db/engine/DeclaredTypes.h"
#include "db/sqlite/SqliteErrorText.h"

namespace veltra::db::engine {

EngineStatus engineFailure(sqlite3* db, int code) {
  const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  return describeEngineFailure(code, message != nullptr ? message : sqlite3_errstr(code));
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql, EngineStatus& status)
    : db_(db) {
  const char* tail = nullptr;
  lastCode_ = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, &tail);
  if (lastCode_ != SQLITE_OK) {
    status = engineFailure(db, sqlite3_extended_errcode(db));
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return;
  }
  if (stmt_ == nullptr) {
    status = EngineStatus::failure("L'istruzione SQL è vuota.", SQLITE_MISUSE);
    return;
  }
  // A second statement after the first would silently be ignored: refuse it.
  for (; tail != nullptr && *tail != '\0'; ++tail) {
    if (*tail == ';' || std::isspace(static_cast<unsigned char>(*tail))) continue;
    status =
        EngineStatus::failure("Caratteri trovati dopo la fine dell'istruzione SQL.", SQLITE_ERROR);
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return;
  }
  status = EngineStatus::success();
}

SqliteStatement::~SqliteStatement() {
  sqlite3_finalize(stmt_);
}

bool SqliteStatement::step(EngineStatus& status) {
  if (!bindStatus_) {
    status = bindStatus_;
    return false;
  }
  lastCode_ = sqlite3_step(stmt_);
  stepped_ = true;
  if (lastCode_ == SQLITE_ROW) {
    status = EngineStatus::success();
    return true;
  }
  if (lastCode_ == SQLITE_DONE) {
    status = EngineStatus::success();
    return false;
  }
  status = engineFailure(db_, sqlite3_extended_errcode(db_));
  failed_ = true;
  return false;
}

void SqliteStatement::reset() {
  rewind();
  sqlite3_clear_bindings(stmt_);
}

void SqliteStatement::rewind() {
  // sqlite3_reset repeats the last step's failure, which step already told.
  // Writers rewind before and after each run: only a run needs undoing.
  if (stepped_) sqlite3_reset(stmt_);
  stepped_ = false;
  if (!bindStatus_) bindStatus_ = EngineStatus::success();
}

void SqliteStatement::noteBind(int code) {
  if (code == SQLITE_OK || !bindStatus_) return;
  // Described from the code alone: a bind on a statement that never prepared
  // leaves the handle's message of some earlier call.
  bindStatus_ = engineFailure(nullptr, code);
  failed_ = true;
}

void SqliteStatement::bindNull(int index) {
  noteBind(sqlite3_bind_null(stmt_, index));
}
void SqliteStatement::bindInt(int index, std::int64_t value) {
  noteBind(sqlite3_bind_int64(stmt_, index, value));
}
void SqliteStatement::bindDouble(int index, double value) {
  noteBind(sqlite3_bind_double(stmt_, index, value));
}
void SqliteStatement::bindText(int index, std::string_view text) {
  noteBind(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                             SQLITE_TRANSIENT));
}
void SqliteStatement::bindBlob(int index, std::string_view bytes) {
  noteBind(sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()),
                             SQLITE_TRANSIENT));
}
void SqliteStatement::bindColumnOf(int index, const SqliteStatement& source, int column) {
  noteBind(sqlite3_bind_value(stmt_, index, sqlite3_column_value(source.stmt_, column)));
}

void SqliteStatement::bindValue(int index, const FieldValue& value) {
  if (value.isNull) return bindNull(index);
  switch (value.type) {
    case FieldType::Boolean:
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::Currency:
      return bindInt(index, value.integer);
    case FieldType::Single:
    case FieldType::Double:
      return bindDouble(index, value.real);
    case FieldType::Date:
      return bindText(index, isoDateText(civilDateOf(value.real)));
    case FieldType::Text:
    case FieldType::Memo:
      return bindText(index, value.text);
    case FieldType::LongBinary:
      return bindBlob(index, value.text);
  }
}

char* SqliteStatement::dateRoom(int index) {
  if (!dateRoom_) {
    roomCount_ = sqlite3_bind_parameter_count(stmt_);
    const auto count = static_cast<std::size_t>(roomCount_);
    dateRoom_ = std::make_unique<char[]>(count * 10);
    roomDay_ = std::make_unique<double[]>(count);
    std::fill_n(roomDay_.get(), count, std::numeric_limits<double>::quiet_NaN());
  }
  if (index < 1 || index > roomCount_) return nullptr;
  return dateRoom_.get() + static_cast<std::ptrdiff_t>(index - 1) * 10;
}

bool SqliteStatement::bindLastingDate(int index, double day) {
  char* room = dateRoom(index);
  if (room == nullptr) return false;
  double& spelled = roomDay_[static_cast<std::size_t>(index - 1)];
  if (spelled != day) {
    // A failed spelling may have left part of a text: the room spells no day.
    spelled = std::numeric_limits<double>::quiet_NaN();
    if (!putIsoDate(civilDateOf(day), room)) return false;
    spelled = day;
  }
  noteBind(sqlite3_bind_text(stmt_, index, room, 10, SQLITE_STATIC));
  return true;
}

// Bulk writes bind tens of values a row: no text is copied by the library,
// and a stored date is spelled in the statement's own room.
void SqliteStatement::bindLastingValue(int index, const FieldValue& value) {
  if (!value.isNull && (value.type == FieldType::Text || value.type == FieldType::Memo))
    return noteBind(sqlite3_bind_text(stmt_, index, value.text.data(),
                                      static_cast<int>(value.text.size()), SQLITE_STATIC));
  if (!value.isNull && value.type == FieldType::Date && bindLastingDate(index, value.real)) return;
  bindValue(index, value);
}

int SqliteStatement::columnCount() const {
  return sqlite3_column_count(stmt_);
}

std::string SqliteStatement::columnName(int column) const {
  const char* name = sqlite3_column_name(stmt_, column);
  return name != nullptr ? name : "";
}

const char* SqliteStatement::declaredType(int column) const {
  return sqlite3_column_decltype(stmt_, column);
}

bool SqliteStatement::isNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

bool SqliteStatement::holdsText(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_TEXT;
}

std::int64_t SqliteStatement::columnInt(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

std::string SqliteStatement::columnText(int column) const {
  return std::string(columnBytes(column, sqlite3_column_text(stmt_, column)));
}

FieldValue SqliteStatement::columnValue(int column, FieldType type) const {
  FieldValue value;
  readColumn(column, type, value);
  return value;
}

std::string_view SqliteStatement::columnBytes(int column, const void* data) const {
  if (data == nullptr) return {};
  const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column));
  return std::string_view(static_cast<const char*>(data), size);
}

namespace {

// The column's value is fetched once and then read as the type wants: each
// sqlite3_column_ call checks the statement and its row again, and exports
// read every column of many thousands of rows. The value is the library's
// unprotected one, safe here because a connection is used by one thread at
// a time and opened without mutexes.
std::string_view bytesOf(sqlite3_value* value, const void* data) {
  if (data == nullptr) return {};
  return std::string_view(static_cast<const char*>(data),
                          static_cast<std::size_t>(sqlite3_value_bytes(value)));
}

std::string_view textOf(sqlite3_value* value) {
  return bytesOf(value, sqlite3_value_text(value));
}

}  // namespace

void SqliteStatement::readColumn(int column, FieldType type, FieldValue& out) const {
  sqlite3_value* const value = sqlite3_column_value(stmt_, column);
  if (sqlite3_value_type(value) == SQLITE_NULL) return out.setNull(type);
  switch (type) {
    case FieldType::Boolean:
      return out.setNumber(type, sqlite3_value_int64(value) != 0 ? 1 : 0, 0.0);
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::Currency:
      return out.setNumber(type, sqlite3_value_int64(value), 0.0);
    case FieldType::Single:
    case FieldType::Double:
      return out.setNumber(type, 0, sqlite3_value_double(value));
    case FieldType::Date: {
      const std::string_view text = textOf(value);
      const auto date = parseIsoDate(text);
      if (!date) return out.setText(FieldType::Text, text);
      return out.setNumber(type, 0, static_cast<double>(*dayNumberOf(*date)));
    }
    case FieldType::Text:
    case FieldType::Memo:
      return out.setText(type, textOf(value));
    case FieldType::LongBinary:
      return out.setText(type, bytesOf(value, sqlite3_value_blob(value)));
  }
  out.setNull(type);
}

bool SqliteStatement::appendText(int column, FieldType type, std::string& out) const {
  if (type != FieldType::Text && type != FieldType::Memo && type != FieldType::Date) return false;
  // A null column has no text, so one call tells null from text.
  sqlite3_value* const value = sqlite3_column_value(stmt_, column);
  const unsigned char* data = sqlite3_value_text(value);
  if (data == nullptr) return false;
  const std::string_view text = bytesOf(value, data);
  if (type == FieldType::Date) {
    if (const auto date = parseIsoDate(text)) {
      AppendDateText(date->day, date->month, date->year, out);
      return true;
    }
  }
  out.append(text);
  return true;
}

FieldValue SqliteStatement::columnValue(int column) const {
  if (const char* declared = declaredType(column)) {
    if (const auto parsed = parseDeclaredType(declared)) return columnValue(column, parsed->type);
  }
  // An expression (COUNT, MAX, a constant): typed by what it holds. A stored
  // date keeps being a date through MAX and MIN.
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
      return columnValue(column, FieldType::Long);
    case SQLITE_FLOAT:
      return columnValue(column, FieldType::Double);
    case SQLITE_BLOB:
      return columnValue(column, FieldType::LongBinary);
    case SQLITE_TEXT:
      return columnValue(column,
                         parseIsoDate(columnText(column)) ? FieldType::Date : FieldType::Text);
    default:
      return FieldValue::null(FieldType::Text);
  }
}

}  // namespace veltra::db::engine
