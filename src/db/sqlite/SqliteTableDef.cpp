#include "db/sqlite/SqliteTableDef.h"

#include "db/engine/DeclaredTypes.h"
#include "db/sqlite/SchemaReader.h"
#include "db/sqlite/SqliteDatabase.h"

namespace veltra::db::engine {

namespace {

std::string integerRangeCheck(const std::string& column, long long low, long long high) {
  return " CHECK (" + column + " IS NULL OR (typeof(" + column + ") = 'integer' AND " + column +
         " BETWEEN " + std::to_string(low) + " AND " + std::to_string(high) + "))";
}

// The checks that make the file itself refuse what the engine type cannot hold.
std::string typeChecks(const FieldDef& field) {
  const std::string c = quoteIdentifier(field.name);
  switch (field.type) {
    case FieldType::Boolean:
      return " DEFAULT 0 CHECK (" + c + " IN (0, 1))";
    case FieldType::Byte:
      return integerRangeCheck(c, 0, 255);
    case FieldType::Integer:
      return integerRangeCheck(c, -32768, 32767);
    case FieldType::Long:
      return integerRangeCheck(c, -2147483648LL, 2147483647LL);
    case FieldType::Currency:
      return " CHECK (" + c + " IS NULL OR typeof(" + c + ") = 'integer')";
    case FieldType::Single:
    case FieldType::Double:
      return " CHECK (" + c + " IS NULL OR typeof(" + c + ") = 'real')";
    case FieldType::Date:
      return " CHECK (" + c + " IS NULL OR " + c + " IS date(" + c + ", '+0 days'))";
    case FieldType::Text:
      return " COLLATE NOCASE CHECK (" + c + " IS NULL OR (typeof(" + c + ") = 'text' AND length(" +
             c + ") <= " + std::to_string(field.size) + "))";
    case FieldType::Memo:
      return " COLLATE NOCASE CHECK (" + c + " IS NULL OR typeof(" + c + ") = 'text')";
    case FieldType::LongBinary:
      return "";
  }
  return "";
}

std::string columnSql(const FieldDef& field) {
  std::string sql = quoteIdentifier(field.name) + " " + declaredType(field.type, field.size);
  if (field.required) sql += " NOT NULL";
  sql += typeChecks(field);
  const bool isText = field.type == FieldType::Text || field.type == FieldType::Memo;
  if (isText && !field.allowZeroLength) sql += " CHECK (" + quoteIdentifier(field.name) + " <> '')";
  return sql;
}

}  // namespace

SqliteTableDef::SqliteTableDef(SqliteDatabase& db, std::string name)
    : TableDef(db, std::move(name)), db_(db) {}

std::string SqliteTableDef::createTableSql() const {
  std::string sql = "CREATE TABLE " + quoteIdentifier(name()) + " (";
  for (size_t i = 0; i < fields().size(); ++i) sql += (i > 0 ? ", " : "") + columnSql(fields()[i]);
  return sql + ")";
}

EngineStatus SqliteTableDef::appendToDatabase(const std::vector<IndexDef>& indexes) {
  EngineStatus lookup;
  if (!storedSql(db_.handle(), "table", name(), lookup).empty())
    return EngineStatus::failure("La tavola \"" + name() + "\" esiste già nel database.");
  if (!lookup) return lookup;
  Transaction transaction(db_);
  if (!transaction.status().ok) return transaction.status();
  if (auto status = db_.execute(createTableSql()); !status) return status;
  for (const auto& index : indexes)
    if (auto status = db_.execute(createIndexSql(index)); !status) return status;
  return transaction.commit();
}

}  // namespace veltra::db::engine
