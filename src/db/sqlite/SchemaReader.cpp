#include "db/sqlite/SchemaReader.h"

#include <sqlite3.h>

#include "db/engine/DeclaredTypes.h"
#include "db/engine/TableDef.h"
#include "db/sqlite/SqliteStatement.h"

namespace veltra::db::engine {

namespace {

std::vector<std::string> textColumn(sqlite3* db, const std::string& sql,
                                    const std::string& parameter, EngineStatus& status) {
  std::vector<std::string> values;
  SqliteStatement stmt(db, sql, status);
  if (!status) return values;
  if (!parameter.empty()) stmt.bindText(1, parameter);
  while (stmt.step(status)) values.push_back(stmt.columnText(0));
  return values;
}

// Reads one double-quoted identifier starting at pos; pos moves past it.
std::string quotedIdentifier(const std::string& sql, size_t& pos) {
  std::string name;
  if (pos >= sql.size() || sql[pos] != '"') return name;
  for (++pos; pos < sql.size(); ++pos) {
    if (sql[pos] == '"') {
      if (pos + 1 < sql.size() && sql[pos + 1] == '"') {
        name += '"';
        ++pos;
        continue;
      }
      ++pos;
      break;
    }
    name += sql[pos];
  }
  return name;
}

void skipBlanks(const std::string& sql, size_t& pos) {
  while (pos < sql.size() && sql[pos] == ' ') ++pos;
}

std::vector<std::string> identifierList(const std::string& sql, size_t& pos) {
  std::vector<std::string> names;
  skipBlanks(sql, pos);
  if (pos >= sql.size() || sql[pos] != '(') return names;
  ++pos;
  while (pos < sql.size() && sql[pos] != ')') {
    skipBlanks(sql, pos);
    names.push_back(quotedIdentifier(sql, pos));
    skipBlanks(sql, pos);
    if (pos < sql.size() && sql[pos] == ',') ++pos;
    if (names.back().empty()) break;
  }
  ++pos;
  return names;
}

bool consume(const std::string& sql, size_t& pos, std::string_view word) {
  skipBlanks(sql, pos);
  if (sql.compare(pos, word.size(), word) != 0) return false;
  pos += word.size();
  return true;
}

EngineStatus readColumns(sqlite3* db, const std::string& name, const std::string& createSql,
                         TableInfo& info) {
  EngineStatus status;
  SqliteStatement stmt(db, "SELECT name, type, \"notnull\" FROM pragma_table_info(?)", status);
  if (!status) return status;
  stmt.bindText(1, name);
  while (stmt.step(status)) {
    ColumnInfo column;
    column.name = stmt.columnText(0);
    const auto declared = parseDeclaredType(stmt.columnText(1));
    column.type = declared ? declared->type : FieldType::LongBinary;
    column.size = declared ? declared->size : 0;
    column.required = stmt.columnInt(2) != 0;
    column.allowZeroLength =
        createSql.find("CHECK (" + quoteIdentifier(column.name) + " <> '')") == std::string::npos;
    info.columns.push_back(std::move(column));
  }
  return status;
}

EngineStatus readIndexes(sqlite3* db, const std::string& table, TableInfo& info) {
  EngineStatus status;
  SqliteStatement list(db, "SELECT name, \"unique\" FROM pragma_index_list(?) ORDER BY name",
                       status);
  if (!status) return status;
  list.bindText(1, table);
  while (list.step(status)) {
    IndexInfo index;
    index.physicalName = list.columnText(0);
    index.unique = list.columnInt(1) != 0;
    const std::string primaryPrefix = physicalIndexName(table, "", true);
    const std::string plainPrefix = physicalIndexName(table, "", false);
    if (index.physicalName.starts_with(primaryPrefix)) {
      index.primary = true;
      index.name = index.physicalName.substr(primaryPrefix.size());
    } else if (index.physicalName.starts_with(plainPrefix)) {
      index.name = index.physicalName.substr(plainPrefix.size());
    } else {
      continue;  // not one of ours (SQLite's own automatic indexes)
    }
    EngineStatus fieldsRead;
    index.fields = textColumn(db, "SELECT name FROM pragma_index_info(?) ORDER BY seqno",
                              index.physicalName, fieldsRead);
    if (!fieldsRead) return fieldsRead;
    info.indexes.push_back(std::move(index));
  }
  return status;
}

}  // namespace

std::vector<RelationDef> relationsIn(const std::string& createSql, const std::string& table) {
  std::vector<RelationDef> relations;
  const std::string marker = "CONSTRAINT ";
  for (size_t pos = createSql.find(marker); pos != std::string::npos;
       pos = createSql.find(marker, pos)) {
    pos += marker.size();
    RelationDef relation;
    relation.name = quotedIdentifier(createSql, pos);
    relation.foreignTable = table;
    if (!consume(createSql, pos, "FOREIGN KEY")) continue;
    const auto foreignFields = identifierList(createSql, pos);
    if (!consume(createSql, pos, "REFERENCES")) continue;
    skipBlanks(createSql, pos);
    relation.table = quotedIdentifier(createSql, pos);
    const auto fields = identifierList(createSql, pos);
    for (size_t i = 0; i < fields.size() && i < foreignFields.size(); ++i)
      relation.fields.push_back({fields[i], foreignFields[i]});
    relations.push_back(std::move(relation));
  }
  return relations;
}

std::string storedSql(sqlite3* db, const std::string& type, const std::string& name,
                      EngineStatus& status) {
  SqliteStatement stmt(
      db, "SELECT sql FROM sqlite_master WHERE type = ? AND name = ? COLLATE NOCASE", status);
  if (!status) return std::string();
  stmt.bindText(1, type);
  stmt.bindText(2, name);
  return stmt.step(status) ? stmt.columnText(0) : std::string();
}

std::vector<std::string> storedIndexSql(sqlite3* db, const std::string& table,
                                        EngineStatus& status) {
  return textColumn(db,
                    "SELECT sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL "
                    "AND tbl_name = ? COLLATE NOCASE ORDER BY name",
                    table, status);
}

std::vector<std::string> readTableNames(sqlite3* db, EngineStatus& status) {
  return textColumn(db,
                    "SELECT name FROM sqlite_master WHERE type = 'table' "
                    "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name",
                    "", status);
}

EngineStatus readTableInfo(sqlite3* db, const std::string& name, TableInfo& info) {
  info = TableInfo{};
  EngineStatus status;
  const std::string createSql = storedSql(db, "table", name, status);
  if (!status) return status;
  if (createSql.empty())
    return EngineStatus::failure("La tavola \"" + name + "\" non esiste nel database.");
  // The name as the file spells it: later statements and messages use it.
  const auto names = textColumn(
      db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE", name,
      status);
  if (!status) return status;
  info.name = names.empty() ? name : names.front();
  if (status = readColumns(db, info.name, createSql, info); !status) return status;
  if (status = readIndexes(db, info.name, info); !status) return status;
  info.relations = relationsIn(createSql, info.name);
  return status;
}

}  // namespace veltra::db::engine
