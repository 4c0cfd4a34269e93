#include "db/sqlite/SqliteWriteFailure.h"

#include <sqlite3.h>

#include "db/engine/TableDef.h"
#include "db/sqlite/SqliteDatabase.h"
#include "db/sqlite/SqliteStatement.h"

namespace veltra::db::engine {

namespace {

std::string fieldName(const TableInfo& table, size_t column) {
  return "\"" + table.name + "." + table.columns[column].name + "\"";
}

EngineStatus nullFailure(const TableInfo& table, const std::vector<FieldValue>& row,
                         const EngineStatus& failure) {
  for (size_t i = 0; i < row.size(); ++i)
    if (table.columns[i].required && row[i].isNull)
      return EngineStatus::failure(
          "Il campo " + fieldName(table, i) + " non può contenere un valore nullo: è obbligatorio.",
          failure.code);
  return failure;
}

EngineStatus checkFailure(const TableInfo& table, const std::vector<FieldValue>& row,
                          const EngineStatus& failure) {
  for (size_t i = 0; i < row.size(); ++i)
    if (!table.columns[i].allowZeroLength && !row[i].isNull && row[i].text.empty() &&
        (row[i].type == FieldType::Text || row[i].type == FieldType::Memo))
      return EngineStatus::failure(
          "Il campo " + fieldName(table, i) + " non può essere una stringa di lunghezza zero.",
          failure.code);
  return EngineStatus::failure(
      "Un valore non è ammesso nella tavola \"" + table.name + "\" (" + failure.text + ").",
      failure.code);
}

// True when a row other than the one being written already holds these key values.
bool keyTaken(SqliteDatabase& db, const TableInfo& table, const IndexInfo& index,
              const std::vector<FieldValue>& row) {
  std::string where;
  for (size_t i = 0; i < index.fields.size(); ++i)
    where += (i > 0 ? " AND " : "") + quoteIdentifier(index.fields[i]) + " = ?";
  EngineStatus status;
  SqliteStatement stmt(db.handle(),
                       "SELECT 1 FROM " + quoteIdentifier(table.name) + " WHERE " + where, status);
  if (!status) return false;
  for (size_t i = 0; i < index.fields.size(); ++i)
    stmt.bindValue(static_cast<int>(i + 1), row[table.columnIndex(index.fields[i])]);
  return stmt.step(status);
}

EngineStatus uniqueFailure(SqliteDatabase& db, const TableInfo& table,
                           const std::vector<FieldValue>& row, const EngineStatus& failure) {
  for (const auto& index : table.indexes)
    if (index.unique && keyTaken(db, table, index, row))
      return EngineStatus::failure(
          "Il record non è stato salvato perché creerebbe un valore duplicato nell'indice \"" +
              index.name + "\" della tavola \"" + table.name + "\", che non ammette duplicati.",
          failure.code);
  return failure;
}

bool parentExists(SqliteDatabase& db, const TableInfo& table, const RelationDef& relation,
                  const std::vector<FieldValue>& row) {
  std::string where;
  for (size_t i = 0; i < relation.fields.size(); ++i)
    where += (i > 0 ? " AND " : "") + quoteIdentifier(relation.fields[i].field) + " = ?";
  EngineStatus status;
  SqliteStatement stmt(
      db.handle(), "SELECT 1 FROM " + quoteIdentifier(relation.table) + " WHERE " + where, status);
  if (!status) return true;
  for (size_t i = 0; i < relation.fields.size(); ++i) {
    const FieldValue& value = row[table.columnIndex(relation.fields[i].foreignField)];
    if (value.isNull) return true;  // a key with a null part refers to nothing
    stmt.bindValue(static_cast<int>(i + 1), value);
  }
  return stmt.step(status);
}

EngineStatus foreignKeyFailure(SqliteDatabase& db, const TableInfo& table,
                               const std::vector<FieldValue>& row, const EngineStatus& failure) {
  for (const auto& relation : table.relations)
    if (!parentExists(db, table, relation, row))
      return EngineStatus::failure(
          "Il record non può essere aggiunto o modificato: la relazione \"" + relation.name +
              "\" richiede un record corrispondente nella tavola \"" + relation.table + "\".",
          failure.code);
  return EngineStatus::failure(
      "Il record non può essere modificato: altri record collegati della tavola \"" + table.name +
          "\" ne dipendono.",
      failure.code);
}

}  // namespace

EngineStatus describeWriteFailure(SqliteDatabase& db, const TableInfo& table,
                                  const std::vector<FieldValue>& row, const EngineStatus& failure) {
  switch (failure.code) {
    case SQLITE_CONSTRAINT_NOTNULL:
      return nullFailure(table, row, failure);
    case SQLITE_CONSTRAINT_CHECK:
      return checkFailure(table, row, failure);
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
      return uniqueFailure(db, table, row, failure);
    case SQLITE_CONSTRAINT_FOREIGNKEY:
      return foreignKeyFailure(db, table, row, failure);
    default:
      return failure;
  }
}

}  // namespace veltra::db::engine
