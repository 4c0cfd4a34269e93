// The server database's tables and relations: read from the server's
// catalogue, and the relations made between the register's tables.
#include <libpq-fe.h>

#include "db/PlainText.h"
#include "db/engine/DeclaredTypes.h"
#include "db/engine/TableDef.h"
#include "db/server/ServerDatabase.h"
#include "db/server/ServerErrorText.h"

namespace veltra::db::engine {

namespace {

// Splits "a,b,c" as string_agg wrote it.
std::vector<std::string> listOf(std::string_view text) {
  std::vector<std::string> items;
  while (!text.empty()) {
    const auto comma = text.find(',');
    items.emplace_back(text.substr(0, comma));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return items;
}

std::string localIndexName(const std::string& table, const std::string& physical, bool& primary) {
  for (const bool isPrimary : {true, false}) {
    const std::string prefix = physicalIndexName(table, "", isPrimary);
    if (physical.starts_with(prefix)) {
      primary = isPrimary;
      return physical.substr(prefix.size());
    }
  }
  return {};
}

// Every table of the schema, each row naming its table as stored: columns,
// indexes and relations, in the order they were made.
const std::string ColumnsSql =
    "SELECT t.relname, a.attname, col_description(a.attrelid, a.attnum), a.attnotnull, "
    "EXISTS (SELECT 1 FROM pg_constraint c WHERE c.conrelid = a.attrelid "
    "AND c.conname = 'ck_' || a.attname || '_vuoto') "
    "FROM pg_attribute a JOIN pg_class t ON t.oid = a.attrelid "
    "WHERE t.relnamespace = current_schema()::regnamespace AND t.relkind = 'r' "
    "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY t.oid, a.attnum";

constexpr const char* IndexesSql =
    "SELECT t.relname, i.relname, ix.indisunique, (SELECT string_agg(a.attname, ',' ORDER BY "
    "k.n) FROM unnest(ix.indkey) WITH ORDINALITY k(attnum, n) JOIN pg_attribute a "
    "ON a.attrelid = ix.indrelid AND a.attnum = k.attnum) "
    "FROM pg_index ix JOIN pg_class i ON i.oid = ix.indexrelid "
    "JOIN pg_class t ON t.oid = ix.indrelid "
    "WHERE t.relnamespace = current_schema()::regnamespace AND t.relkind = 'r' ORDER BY i.oid";

constexpr const char* RelationsSql =
    "SELECT t.relname, c.conname, r.relname, "
    "(SELECT string_agg(a.attname, ',' ORDER BY k.n) FROM unnest(c.confkey) WITH ORDINALITY "
    "k(attnum, n) JOIN pg_attribute a ON a.attrelid = c.confrelid AND a.attnum = k.attnum), "
    "(SELECT string_agg(a.attname, ',' ORDER BY k.n) FROM unnest(c.conkey) WITH ORDINALITY "
    "k(attnum, n) JOIN pg_attribute a ON a.attrelid = c.conrelid AND a.attnum = k.attnum) "
    "FROM pg_constraint c JOIN pg_class r ON r.oid = c.confrelid "
    "JOIN pg_class t ON t.oid = c.conrelid "
    "WHERE t.relnamespace = current_schema()::regnamespace AND t.relkind = 'r' "
    "AND c.contype = 'f' ORDER BY c.oid";

using CatalogTables = std::vector<CatalogTable>;

// The table named exactly as stored, added when first met.
CatalogTable& tableNamed(CatalogTables& tables, std::string_view name) {
  for (auto& table : tables)
    if (table.info.name == name) return table;
  tables.push_back(
      {.info = {.name = std::string(name), .columns = {}, .indexes = {}, .relations = {}},
       .registers = false});
  return tables.back();
}

void addColumns(const pg_result* rows, CatalogTables& tables) {
  for (int row = 0; row < rowCount(rows); ++row) {
    CatalogTable& table = tableNamed(tables, textAt(rows, row, 0));
    const std::string name(textAt(rows, row, 1));
    if (name == RowIdentityColumn) {
      table.registers = true;
      continue;
    }
    const auto declared = parseDeclaredType(textAt(rows, row, 2));
    table.info.columns.push_back({.name = name,
                                  .type = declared ? declared->type : FieldType::Text,
                                  .size = declared ? declared->size : 0,
                                  .required = textAt(rows, row, 3) == "t",
                                  .allowZeroLength = textAt(rows, row, 4) != "t"});
  }
}

void addIndexes(const pg_result* rows, CatalogTables& tables) {
  for (int row = 0; row < rowCount(rows); ++row) {
    CatalogTable& table = tableNamed(tables, textAt(rows, row, 0));
    const std::string physical(textAt(rows, row, 1));
    bool primary = false;
    const std::string local = localIndexName(table.info.name, physical, primary);
    if (local.empty()) continue;  // the hidden identity's own key
    table.info.indexes.push_back({.name = local,
                                  .physicalName = physical,
                                  .fields = listOf(textAt(rows, row, 3)),
                                  .primary = primary,
                                  .unique = textAt(rows, row, 2) == "t"});
  }
}

void addRelations(const pg_result* rows, CatalogTables& tables) {
  for (int row = 0; row < rowCount(rows); ++row) {
    CatalogTable& table = tableNamed(tables, textAt(rows, row, 0));
    RelationDef relation{.name = std::string(textAt(rows, row, 1)),
                         .table = std::string(textAt(rows, row, 2)),
                         .foreignTable = table.info.name,
                         .attributes = 0,
                         .fields = {}};
    const auto referenced = listOf(textAt(rows, row, 3));
    const auto referencing = listOf(textAt(rows, row, 4));
    for (size_t i = 0; i < referenced.size() && i < referencing.size(); ++i)
      relation.fields.push_back({.field = referenced[i], .foreignField = referencing[i]});
    table.info.relations.push_back(std::move(relation));
  }
}

}  // namespace

// The three readings of the catalogue go in one round trip, once for every
// table the session opens until a statement may have changed them.
EngineStatus ServerDatabase::readCatalog() const {
  if (catalog_) return EngineStatus::success();
  using Kind = PipelinedStatement::Kind;
  const PipelinedStatement statements[] = {{ColumnsSql, {}, Kind::Sql, {}},
                                           {IndexesSql, {}, Kind::Sql, {}},
                                           {RelationsSql, {}, Kind::Sql, {}}};
  pg_conn* connection = idleConnection();
  std::vector<ServerResult> results;
  if (!runPipeline(connection, statements, results, progressHook_))
    return describeServerFailure(connection, nullptr);
  for (const auto& result : results)
    if (auto status = statusOf(connection, result.get()); !status) return status;
  CatalogTables tables;
  addColumns(results[0].get(), tables);
  addIndexes(results[1].get(), tables);
  addRelations(results[2].get(), tables);
  catalog_ = std::move(tables);
  return EngineStatus::success();
}

// Only the program's own tables, which carry its hidden identity column: an
// administrator's table beside them (a log, a view's source) is not the register's.
std::vector<std::string> ServerDatabase::tableNames() const {
  std::vector<std::string> names;
  if (!readCatalog()) return names;
  for (const auto& table : *catalog_)
    if (table.registers) names.push_back(table.info.name);
  return names;
}

// The table is named whatever the case of its letters, as on the file.
EngineStatus ServerDatabase::loadTable(const std::string& name, TableInfo& info) const {
  if (auto status = readCatalog(); !status) return status;
  for (const auto& table : *catalog_)
    if (EqualsIgnoringCase(table.info.name, name) && !table.info.columns.empty()) {
      info = table.info;
      return EngineStatus::success();
    }
  return EngineStatus::failure("La tavola \"" + name + "\" non esiste nel database.");
}

EngineStatus ServerDatabase::createRelation(const RelationDef& relation) {
  if (relation.name.empty() || relation.fields.empty())
    return EngineStatus::failure("La relazione \"" + relation.name + "\" non è completa.");
  std::vector<RelationDef> existing;
  if (auto status = relations(existing); !status) return status;
  for (const auto& other : existing)
    if (EqualsIgnoringCase(other.name, relation.name))
      return EngineStatus::failure("La relazione \"" + relation.name + "\" esiste già.");
  TableInfo table, foreign;
  if (auto status = loadTable(relation.table, table); !status) return status;
  if (auto status = loadTable(relation.foreignTable, foreign); !status) return status;
  std::string referencing, referenced;
  for (const auto& pair : relation.fields) {
    if (table.columnIndex(pair.field) < 0 || foreign.columnIndex(pair.foreignField) < 0)
      return EngineStatus::failure("I campi della relazione \"" + relation.name +
                                   "\" non esistono nelle sue tavole.");
    referencing += (referencing.empty() ? "" : ", ") + quoteIdentifier(pair.foreignField);
    referenced += (referenced.empty() ? "" : ", ") + quoteIdentifier(pair.field);
  }
  EngineStatus status =
      execute("ALTER TABLE " + quoteIdentifier(relation.foreignTable) + " ADD CONSTRAINT " +
              quoteIdentifier(relation.name) + " FOREIGN KEY (" + referencing + ") REFERENCES " +
              quoteIdentifier(relation.table) + " (" + referenced + ")");
  if (status) knownRelations_->push_back(relation);
  return status;
}
// A register's relations are made with it: read once, not for every import.
EngineStatus ServerDatabase::relations(std::vector<RelationDef>& found) {
  if (!knownRelations_) {
    std::vector<RelationDef> all;
    for (const std::string& table : tableNames()) {
      TableInfo info;
      if (auto status = loadTable(table, info); !status) return status;
      all.insert(all.end(), info.relations.begin(), info.relations.end());
    }
    knownRelations_ = std::move(all);
  }
  found = *knownRelations_;
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
