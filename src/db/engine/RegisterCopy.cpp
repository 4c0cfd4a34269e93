#include "db/engine/RegisterCopy.h"

#include <algorithm>

#include "db/PlainText.h"
#include "db/engine/EngineDatabase.h"
#include "db/engine/QueryRecordset.h"
#include "db/engine/TableDef.h"
#include "db/engine/TableRecordset.h"

namespace veltra::db::engine {

namespace {

EngineStatus copyDefinition(const TableInfo& table, EngineDatabase& to) {
  auto definition = to.createTableDef(table.name);
  int position = 0;
  for (const auto& column : table.columns)
    if (auto status = definition->createField({.name = column.name,
                                               .type = column.type,
                                               .size = column.size,
                                               .ordinalPosition = ++position,
                                               .required = column.required,
                                               .allowZeroLength = column.allowZeroLength,
                                               .validationRule = {},
                                               .validationText = {},
                                               .defaultValue = {}});
        !status)
      return status;
  for (const auto& index : table.indexes) {
    IndexDef copy{.name = index.name,
                  .fields = {},
                  .primary = index.primary,
                  .unique = index.unique,
                  .clustered = true,
                  .ignoreNulls = true,
                  .required = false};
    for (const auto& field : index.fields)
      copy.fields.push_back({.name = field, .descending = false});
    if (auto status = definition->createIndex(copy); !status) return status;
  }
  return definition->append();
}

EngineStatus copyRows(const TableInfo& table, EngineDatabase& from, EngineDatabase& to) {
  std::string columns;
  for (const auto& column : table.columns)
    columns += (columns.empty() ? "[" : ", [") + column.name + "]";
  EngineStatus status;
  auto rows = from.openQuery(
      "SELECT " + columns + " FROM [" + table.name + "] ORDER BY " + from.insertionOrder(), status);
  if (!status) return status;
  TableInfo target;
  if (status = to.loadTable(table.name, target); !status) return status;
  auto writer = to.openTable(target, status);
  if (!status) return status;
  FieldValue value;
  for (status = rows->open(); status && !rows->atEnd(); status = rows->moveNext()) {
    if (status = writer->addNew(); !status) return status;
    for (int i = 0; i < rows->columnCount(); ++i) {
      if (status = rows->getField(i, value); !status) return status;
      if (status = writer->setFieldValue(i, value); !status) return status;
    }
    if (status = writer->update(); !status) return status;
  }
  return status;
}

bool copiedAlready(const std::vector<const TableInfo*>& order, const std::string& name) {
  return std::any_of(order.begin(), order.end(),
                     [&](const TableInfo* table) { return EqualsIgnoringCase(table->name, name); });
}

// The tables in an order where each comes after the tables it refers to; a
// table that refers to itself, or a cycle, keeps its place at the end.
std::vector<const TableInfo*> referencedFirst(const std::vector<TableInfo>& tables) {
  std::vector<const TableInfo*> order;
  for (size_t round = 0; round < tables.size(); ++round)
    for (const auto& table : tables) {
      if (copiedAlready(order, table.name)) continue;
      const bool ready = std::all_of(
          table.relations.begin(), table.relations.end(),
          [&](const RelationDef& relation) { return copiedAlready(order, relation.table); });
      if (ready) order.push_back(&table);
    }
  for (const auto& table : tables)
    if (!copiedAlready(order, table.name)) order.push_back(&table);
  return order;
}

}  // namespace

EngineStatus copyRegister(EngineDatabase& from, EngineDatabase& to) {
  std::vector<TableInfo> tables;
  for (const auto& name : from.tableNames()) {
    tables.emplace_back();
    if (auto status = from.loadTable(name, tables.back()); !status) return status;
  }
  Transaction transaction(to);
  if (!transaction.status()) return transaction.status();
  // The relations go in while the tables are empty, as when a register is
  // created; the rows then follow, every referenced table before those that refer to it.
  for (const auto& table : tables)
    if (auto status = copyDefinition(table, to); !status) return status;
  for (const auto& table : tables)
    for (const auto& relation : table.relations)
      if (auto status = to.createRelation(relation); !status) return status;
  for (const TableInfo* table : referencedFirst(tables))
    if (auto status = copyRows(*table, from, to); !status) return status;
  return transaction.commit();
}

}  // namespace veltra::db::engine
