#include "db/sqlite/repair/RepairStatements.h"

#include <sqlite3.h>

#include <cstdint>
#include <string_view>

#include "db/engine/TableDef.h"
#include "db/sqlite/SqliteStatement.h"

namespace veltra::db::engine {

bool stopsRepair(const EngineStatus& status) {
  const int primary = status.code & 0xff;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_INTERRUPT;
}

bool refusedByConstraint(const EngineStatus& status) {
  return (status.code & 0xff) == SQLITE_CONSTRAINT;
}

EngineStatus executeOn(sqlite3* db, const std::string& sql) {
  const int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  return code == SQLITE_OK ? EngineStatus::success()
                           : engineFailure(db, sqlite3_extended_errcode(db));
}

std::vector<std::string> indexesOf(sqlite3* damaged, const std::string& table) {
  EngineStatus status;
  SqliteStatement indexes(
      damaged, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?", status);
  indexes.bindText(1, table);
  std::vector<std::string> names;
  while (indexes.step(status)) names.push_back(indexes.columnText(0));
  return names;
}

std::string listOf(const std::vector<std::string>& names, const std::string& each, bool withNames) {
  std::string list;
  for (const std::string& name : names)
    list += (list.empty() ? "" : ", ") + each + (withNames ? name : std::string());
  return list;
}

namespace {

bool isValidUtf8(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80         ? 1
                               : lead >> 5 == 0x6  ? 2
                               : lead >> 4 == 0xe  ? 3
                               : lead >> 3 == 0x1e ? 4
                                                   : 0;
    if (length == 0 || at + length > text.size()) return false;
    std::uint32_t code = length == 1 ? lead : lead & (0x7f >> length);
    for (std::size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if (next >> 6 != 0x2) return false;
      code = (code << 6) | (next & 0x3f);
    }
    static constexpr std::uint32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < Least[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return false;
    at += length;
  }
  return true;
}

}  // namespace

std::optional<std::string> columnWithBadText(const SqliteStatement& row) {
  for (int column = 0; column < row.columnCount(); ++column)
    if (row.holdsText(column) && !isValidUtf8(row.columnText(column)))
      return row.columnName(column);
  return std::nullopt;
}

void bindStored(SqliteStatement& stmt, int index, const StoredValue& value) {
  switch (value.kind) {
    case StoredValue::Kind::Null:
      return stmt.bindNull(index);
    case StoredValue::Kind::Integer:
      return stmt.bindInt(index, value.integer);
    case StoredValue::Kind::Real:
      return stmt.bindDouble(index, value.real);
    case StoredValue::Kind::Text:
      return stmt.bindText(index, value.bytes);
    case StoredValue::Kind::Blob:
      return stmt.bindBlob(index, value.bytes);
  }
}

}  // namespace veltra::db::engine
