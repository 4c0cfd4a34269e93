#include "db/sqlite/repair/SetAsideRows.h"

#include "db/engine/RepairReport.h"
#include "db/engine/TableDef.h"
#include "db/sqlite/SqliteStatement.h"
#include "db/sqlite/repair/RepairStatements.h"

namespace veltra::db::engine {

EngineStatus SetAsideRows::ensureTable() {
  if (created_) return EngineStatus::success();
  created_ = true;
  return executeOn(copy_, "CREATE TABLE IF NOT EXISTS " + quoteIdentifier(SetAsideTableName) +
                              " (tavola VARCHAR(64) NOT NULL, riga INTEGER, motivo LONGTEXT, "
                              "valori LONGTEXT)");
}

std::string SetAsideRows::valuesText(const SqliteStatement& row, EngineStatus& status) {
  SqliteStatement quote(copy_, "SELECT quote(?)", status);
  std::string text;
  for (int column = 1; status && column < row.columnCount(); ++column) {
    quote.reset();
    quote.bindColumnOf(1, row, column);
    if (!quote.step(status)) break;
    text += (column > 1 ? ", " : "") + row.columnName(column) + " = " + quote.columnText(0);
  }
  return text;
}

EngineStatus SetAsideRows::put(const std::string& table, const SqliteStatement& row,
                               const std::string& reason) {
  EngineStatus status = ensureTable();
  if (!status) return status;
  const std::string values = valuesText(row, status);
  if (!status) return status;
  SqliteStatement insert(
      copy_, "INSERT INTO " + quoteIdentifier(SetAsideTableName) + " VALUES (?, ?, ?, ?)", status);
  insert.bindText(1, table);
  insert.bindColumnOf(2, row, 0);
  insert.bindText(3, reason);
  insert.bindText(4, values);
  if (status) insert.step(status);
  return status;
}

}  // namespace veltra::db::engine
