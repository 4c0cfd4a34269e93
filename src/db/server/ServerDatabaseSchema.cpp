// The server database's tables and relations: read from the server's
// catalogue, and the relations made between the register's tables.
#include <libpq-fe.h>

#include "db/PlainText.h"
#include "db/engine/DeclaredTypes.h"
#include "db/engine/TableDef.h"
#include "db/server/ServerDatabase.h"

namespace veltra::db::engine {

// Only the program's own tables, which carry its hidden identity column: an
// administrator's table beside them (a log, a view's source) is not the register's.
std::vector<std::string> ServerDatabase::tableNames() const {
  EngineStatus status;
  auto result = runOnServer(
      connection_.get(),
      "SELECT relname FROM pg_class t WHERE relnamespace = current_schema()::regnamespace "
      "AND relkind = 'r' AND EXISTS (SELECT 1 FROM pg_attribute a WHERE a.attrelid = t.oid "
      "AND a.attname = '" +
          std::string(RowIdentityColumn) + "' AND NOT a.attisdropped) ORDER BY oid",
      status);
  std::vector<std::string> names;
  if (!status) return names;
  for (int row = 0; row < rowCount(result.get()); ++row)
    names.emplace_back(textAt(result.get(), row, 0));
  return names;
}

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

// The table is named whatever the case of its letters, as on the file; each
// row gives its name as stored, which the other queries take.
const std::string ColumnsSql =
    "SELECT a.attname, col_description(a.attrelid, a.attnum), a.attnotnull, "
    "EXISTS (SELECT 1 FROM pg_constraint c WHERE c.conrelid = a.attrelid "
    "AND c.conname = 'ck_' || a.attname || '_vuoto'), t.relname "
    "FROM pg_attribute a JOIN pg_class t ON t.oid = a.attrelid "
    "WHERE t.relnamespace = current_schema()::regnamespace AND t.relkind = 'r' "
    "AND lower(t.relname) = lower($1) AND a.attnum > 0 "
    "AND NOT a.attisdropped AND a.attname <> '" +
    std::string(RowIdentityColumn) + "' ORDER BY a.attnum";

constexpr const char* IndexesSql =
    "SELECT i.relname, ix.indisunique, (SELECT string_agg(a.attname, ',' ORDER BY k.n) "
    "FROM unnest(ix.indkey) WITH ORDINALITY k(attnum, n) JOIN pg_attribute a "
    "ON a.attrelid = ix.indrelid AND a.attnum = k.attnum) "
    "FROM pg_index ix JOIN pg_class i ON i.oid = ix.indexrelid "
    "WHERE ix.indrelid = to_regclass(quote_ident($1)) ORDER BY i.oid";

constexpr const char* RelationsSql =
    "SELECT c.conname, r.relname, "
    "(SELECT string_agg(a.attname, ',' ORDER BY k.n) FROM unnest(c.confkey) WITH ORDINALITY "
    "k(attnum, n) JOIN pg_attribute a ON a.attrelid = c.confrelid AND a.attnum = k.attnum), "
    "(SELECT string_agg(a.attname, ',' ORDER BY k.n) FROM unnest(c.conkey) WITH ORDINALITY "
    "k(attnum, n) JOIN pg_attribute a ON a.attrelid = c.conrelid AND a.attnum = k.attnum) "
    "FROM pg_constraint c JOIN pg_class r ON r.oid = c.confrelid "
    "WHERE c.conrelid = to_regclass(quote_ident($1)) AND c.contype = 'f' ORDER BY c.oid";

}  // namespace

EngineStatus ServerDatabase::loadTable(const std::string& name, TableInfo& info) const {
  ServerParameters parameters;
  parameters.texts = {name};
  parameters.nulls = {false};
  EngineStatus status;
  pg_conn* connection = connection_.get();
  auto columns = runOnServer(connection, ColumnsSql, status, &parameters);
  if (!status) return status;
  if (rowCount(columns.get()) == 0)
    return EngineStatus::failure("La tavola \"" + name + "\" non esiste nel database.");
  const std::string stored(textAt(columns.get(), 0, 4));
  parameters.texts = {stored};
  info = TableInfo{.name = stored, .columns = {}, .indexes = {}, .relations = {}};
  for (int row = 0; row < rowCount(columns.get()); ++row) {
    const auto declared = parseDeclaredType(textAt(columns.get(), row, 1));
    info.columns.push_back({.name = std::string(textAt(columns.get(), row, 0)),
                            .type = declared ? declared->type : FieldType::Text,
                            .size = declared ? declared->size : 0,
                            .required = textAt(columns.get(), row, 2) == "t",
                            .allowZeroLength = textAt(columns.get(), row, 3) != "t"});
  }
  auto indexes = runOnServer(connection, IndexesSql, status, &parameters);
  if (!status) return status;
  for (int row = 0; row < rowCount(indexes.get()); ++row) {
    const std::string physical(textAt(indexes.get(), row, 0));
    bool primary = false;
    const std::string local = localIndexName(stored, physical, primary);
    if (local.empty()) continue;  // the hidden identity's own key
    info.indexes.push_back({.name = local,
                            .physicalName = physical,
                            .fields = listOf(textAt(indexes.get(), row, 2)),
                            .primary = primary,
                            .unique = textAt(indexes.get(), row, 1) == "t"});
  }
  auto relations = runOnServer(connection, RelationsSql, status, &parameters);
  if (!status) return status;
  for (int row = 0; row < rowCount(relations.get()); ++row) {
    RelationDef relation{.name = std::string(textAt(relations.get(), row, 0)),
                         .table = std::string(textAt(relations.get(), row, 1)),
                         .foreignTable = stored,
                         .attributes = 0,
                         .fields = {}};
    const auto referenced = listOf(textAt(relations.get(), row, 2));
    const auto referencing = listOf(textAt(relations.get(), row, 3));
    for (size_t i = 0; i < referenced.size() && i < referencing.size(); ++i)
      relation.fields.push_back({.field = referenced[i], .foreignField = referencing[i]});
    info.relations.push_back(std::move(relation));
  }
  return EngineStatus::success();
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
