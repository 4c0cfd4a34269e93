#include "db/server/ServerTableDef.h"

#include "db/engine/DeclaredTypes.h"
#include "db/server/ServerDatabase.h"
#include "db/server/ServerValues.h"

namespace veltra::db::engine {

namespace {

std::string check(const FieldDef& field, std::string_view rule, const std::string& condition) {
  return " CONSTRAINT " + quoteIdentifier("ck_" + field.name + "_" + std::string(rule)) +
         " CHECK (" + condition + ")";
}

std::string rangeCheck(const FieldDef& field, long long low, long long high) {
  return check(field, "tipo",
               quoteIdentifier(field.name) + " BETWEEN " + std::to_string(low) + " AND " +
                   std::to_string(high));
}

// The server type of each engine type, with the check that keeps it to the engine's range.
std::string typeSql(const FieldDef& field) {
  const std::string type = serverTypeName(field.type);
  switch (field.type) {
    case FieldType::Boolean:
      return type + " DEFAULT false";
    case FieldType::Byte:
      return type + rangeCheck(field, 0, 255);
    case FieldType::Text:
      return type + check(field, "tipo",
                          "char_length(" + quoteIdentifier(field.name) +
                              ") <= " + std::to_string(field.size));
    default:
      return type;
  }
}

std::string columnSql(const FieldDef& field) {
  std::string sql = quoteIdentifier(field.name) + " " + typeSql(field);
  if (field.required) sql += " NOT NULL";
  const bool isText = field.type == FieldType::Text || field.type == FieldType::Memo;
  // Compared as text: the case-blind comparison would fold both sides of
  // every check of every row for nothing, as no case of '' is other than ''.
  if (isText && !field.allowZeroLength)
    sql += check(field, "vuoto", quoteIdentifier(field.name) + "::text <> ''");
  return sql;
}

}  // namespace

ServerTableDef::ServerTableDef(ServerDatabase& db, std::string name)
    : TableDef(db, std::move(name)), db_(db) {}

std::string ServerTableDef::createTableSql() const {
  std::string sql = "CREATE TABLE " + quoteIdentifier(name()) + " (" +
                    quoteIdentifier(RowIdentityColumn) +
                    " bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY";
  for (const auto& field : fields()) sql += ", " + columnSql(field);
  return sql + ")";
}

EngineStatus ServerTableDef::appendToDatabase(const std::vector<IndexDef>& indexes) {
  EngineStatus status;
  auto found = db_.run(
      "SELECT to_regclass(" + quoteLiteral(quoteIdentifier(name())) + ") IS NOT NULL", status);
  if (!status) return status;
  if (textAt(found.get(), 0, 0) == "t")
    return EngineStatus::failure("La tavola \"" + name() + "\" esiste già nel database.");
  Transaction transaction(db_);
  if (!transaction.status().ok) return transaction.status();
  if (status = db_.execute(createTableSql()); !status) return status;
  for (const auto& field : fields())
    if (status = db_.execute("COMMENT ON COLUMN " + quoteIdentifier(name()) + "." +
                             quoteIdentifier(field.name) + " IS " +
                             quoteLiteral(declaredType(field.type, field.size)));
        !status)
      return status;
  for (const auto& index : indexes)
    if (status = db_.execute(createIndexSql(index)); !status) return status;
  return transaction.commit();
}

}  // namespace veltra::db::engine
