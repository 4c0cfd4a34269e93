// Relations become named FOREIGN KEY constraints. SQLite cannot add one to an
// existing table, so the referencing table is rebuilt with it, in one transaction.

#include <sqlite3.h>

#include "db/engine/TableDef.h"
#include "db/sqlite/SchemaReader.h"
#include "db/sqlite/SqliteDatabase.h"
#include "db/sqlite/SqliteStatement.h"

namespace veltra::db::engine {

namespace {

std::string fieldList(const std::vector<RelationFieldPair>& pairs, bool foreign) {
  std::string list;
  for (size_t i = 0; i < pairs.size(); ++i)
    list += (i > 0 ? ", " : "") + quoteIdentifier(foreign ? pairs[i].foreignField : pairs[i].field);
  return list;
}

std::string constraintSql(const RelationDef& relation) {
  return "CONSTRAINT " + quoteIdentifier(relation.name) + " FOREIGN KEY (" +
         fieldList(relation.fields, true) + ") REFERENCES " + quoteIdentifier(relation.table) +
         " (" + fieldList(relation.fields, false) + ")";
}

// A failure when a relation of that name exists, or when a table cannot be read to tell.
EngineStatus checkNameFree(SqliteDatabase& db, const std::string& name) {
  EngineStatus status;
  for (const auto& table : readTableNames(db.handle(), status)) {
    TableInfo info;
    if (status = db.loadTable(table, info); !status) return status;
    for (const auto& relation : info.relations)
      if (EqualsIgnoringCase(relation.name, name))
        return EngineStatus::failure("La relazione \"" + name + "\" esiste già.");
  }
  return status;
}

// The referenced side must be a unique key, and each pair must join columns of one type.
EngineStatus checkFields(const RelationDef& relation, const TableInfo& table,
                         const TableInfo& foreign) {
  std::vector<std::string> keyFields;
  for (const auto& pair : relation.fields) {
    const int column = table.columnIndex(pair.field);
    const int foreignColumn = foreign.columnIndex(pair.foreignField);
    if (column < 0 || foreignColumn < 0)
      return EngineStatus::failure("Il campo \"" + (column < 0 ? pair.field : pair.foreignField) +
                                   "\" della relazione \"" + relation.name + "\" non esiste.");
    if (table.columns[column].type != foreign.columns[foreignColumn].type)
      return EngineStatus::failure("I campi \"" + pair.field + "\" e \"" + pair.foreignField +
                                   "\" della relazione \"" + relation.name +
                                   "\" non sono dello stesso tipo.");
    keyFields.push_back(table.columns[column].name);
  }
  for (const auto& index : table.indexes) {
    if (!index.unique || index.fields.size() != keyFields.size()) continue;
    if (std::equal(index.fields.begin(), index.fields.end(), keyFields.begin(), EqualsIgnoringCase))
      return {};
  }
  return EngineStatus::failure("La tavola \"" + table.name +
                               "\" non ha un indice univoco sui campi della relazione \"" +
                               relation.name + "\".");
}

// Rows of the referencing table that the new relation would leave without a match.
EngineStatus checkExistingRows(SqliteDatabase& db, const RelationDef& relation) {
  std::string join;
  for (size_t i = 0; i < relation.fields.size(); ++i)
    join += (i > 0 ? " AND " : "") + std::string("r.") + quoteIdentifier(relation.fields[i].field) +
            " = f." + quoteIdentifier(relation.fields[i].foreignField);
  const std::string sql = "SELECT count(*) FROM " + quoteIdentifier(relation.foreignTable) +
                          " AS f WHERE f." + quoteIdentifier(relation.fields[0].foreignField) +
                          " IS NOT NULL AND NOT EXISTS (SELECT 1 FROM " +
                          quoteIdentifier(relation.table) + " AS r WHERE " + join + ")";
  EngineStatus status;
  SqliteStatement stmt(db.handle(), sql, status);
  if (!status) return status;
  if (!stmt.step(status)) return status;
  if (stmt.columnInt(0) == 0) return EngineStatus::success();
  return EngineStatus::failure("La relazione \"" + relation.name +
                               "\" non può essere creata: " + std::to_string(stmt.columnInt(0)) +
                               " record della tavola \"" + relation.foreignTable +
                               "\" non hanno un record corrispondente in \"" + relation.table +
                               "\".");
}

EngineStatus rebuildWithConstraint(SqliteDatabase& db, const TableInfo& foreign,
                                   const RelationDef& relation) {
  EngineStatus read;
  const std::string createSql = storedSql(db.handle(), "table", foreign.name, read);
  if (!read) return read;
  const auto indexSql = storedIndexSql(db.handle(), foreign.name, read);
  if (!read) return read;
  const std::string body = createSql.substr(createSql.find('('));
  const std::string scratch = foreign.name + "__rebuild";
  const std::string newSql = "CREATE TABLE " + quoteIdentifier(scratch) + " " +
                             body.substr(0, body.size() - 1) + ", " + constraintSql(relation) + ")";
  const std::string steps[] = {
      newSql,
      "INSERT INTO " + quoteIdentifier(scratch) + " SELECT * FROM " + quoteIdentifier(foreign.name),
      "DROP TABLE " + quoteIdentifier(foreign.name),
      "ALTER TABLE " + quoteIdentifier(scratch) + " RENAME TO " + quoteIdentifier(foreign.name),
  };
  for (const auto& step : steps)
    if (auto status = db.execute(step); !status) return status;
  for (const auto& sql : indexSql)
    if (auto status = db.execute(sql); !status) return status;
  return EngineStatus::success();
}

}  // namespace

EngineStatus SqliteDatabase::createRelation(const RelationDef& relation) {
  if (relation.name.empty() || relation.fields.empty())
    return EngineStatus::failure("La relazione \"" + relation.name + "\" non è completa.");
  if (auto status = checkNameFree(*this, relation.name); !status) return status;
  TableInfo table, foreign;
  if (auto status = loadTable(relation.table, table); !status) return status;
  if (auto status = loadTable(relation.foreignTable, foreign); !status) return status;
  if (auto status = checkFields(relation, table, foreign); !status) return status;

  // Outside a transaction the rebuild may switch enforcement off, as SQLite
  // recommends, so rows of other tables that refer to this one survive the drop.
  const bool standalone = !inTransaction();
  if (standalone) {
    if (auto status = execute("PRAGMA foreign_keys = OFF"); !status) return status;
  }
  EngineStatus status;
  {
    Transaction transaction(*this);
    status = transaction.status();
    if (status) status = checkExistingRows(*this, relation);
    if (status) status = rebuildWithConstraint(*this, foreign, relation);
    if (status) status = transaction.commit();
  }
  if (standalone) {
    // Left off, every later write on this file would go unchecked; an
    // earlier failure is still the one reported.
    const EngineStatus restored = execute("PRAGMA foreign_keys = ON");
    if (status) status = restored;
  }
  return status;
}

}  // namespace veltra::db::engine
