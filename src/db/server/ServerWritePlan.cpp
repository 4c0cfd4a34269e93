#include "db/server/ServerWritePlan.h"

#include <algorithm>
#include <utility>

namespace veltra::db::engine {

namespace {

// The values of a batch at most: its statement's arrays stay a few hundred
// kilobytes, which the server reads and converts in one go.
constexpr size_t BatchParameters = 30000;
// How far back a write looks for the rows it may join.
constexpr size_t BatchesLookedBack = 8;
// The key of a relation's side that cannot be compared here: it meets every other.
const std::string AnyKey = "*";

// The table's fields in the relation; none when it is not in it. A table
// related to itself is never passed over: only writes of other tables are.
std::optional<std::vector<std::string>> sideOf(const RelationDef& relation,
                                               const std::string& table) {
  const bool referencing = relation.foreignTable == table, referenced = relation.table == table;
  if (referencing == referenced) return std::nullopt;
  std::vector<std::string> fields;
  for (const RelationFieldPair& pair : relation.fields)
    fields.push_back(referencing ? pair.foreignField : pair.field);
  return fields;
}

const std::string& otherSide(const RelationDef& relation, const std::string& table) {
  return relation.foreignTable == table ? relation.table : relation.foreignTable;
}

}  // namespace

ServerWritePlan::RelationKeys ServerWritePlan::relationKeys(const TableInfo& table,
                                                            const KeyPart& valueAt) const {
  RelationKeys keys;
  for (size_t relation = 0; relation < relations_.size(); ++relation) {
    const auto fields = sideOf(relations_[relation], table.name);
    if (!fields) continue;
    std::vector<size_t> columns;
    std::vector<FieldType> types;
    for (const std::string& field : *fields) {
      const int column = table.columnIndex(field);
      if (column < 0 || !keyComparable(table.columns[static_cast<size_t>(column)].type)) break;
      columns.push_back(static_cast<size_t>(column));
      types.push_back(table.columns[columns.back()].type);
    }
    keys[relation] = columns.size() < fields->size()
                         ? AnyKey
                         : serverKey(types, [&](size_t part) -> const FieldValue& {
                             return valueAt(columns[part]);
                           });
  }
  return keys;
}

std::set<size_t> ServerWritePlan::changedRelations(const TableInfo& table,
                                                   const std::vector<bool>& assigned) const {
  std::set<size_t> changed;
  for (size_t relation = 0; relation < relations_.size(); ++relation)
    if (const auto fields = sideOf(relations_[relation], table.name))
      if (std::any_of(fields->begin(), fields->end(), [&](const std::string& field) {
            const int column = table.columnIndex(field);
            return column < 0 || assigned[static_cast<size_t>(column)];
          }))
        changed.insert(relation);
  return changed;
}

// None of the rows passed over names the inserted row, nor is named by it,
// through a relation, and none of them changed what a relation compares.
bool ServerWritePlan::commutes(const Batch& passed, const std::string& table,
                               const RelationKeys& keys) const {
  for (const auto& [relation, key] : keys) {
    if (otherSide(relations_[relation], table) != passed.table) continue;
    if (passed.changedRelations.contains(relation)) return false;
    if (!key) continue;
    if (*key == AnyKey) return false;
    const auto found = passed.keys.find(relation);
    if (found != passed.keys.end() && found->second.contains(*key)) return false;
  }
  return true;
}

// Neither the update nor the writes passed over change what a relation
// between their tables compares.
bool ServerWritePlan::updatePasses(const Batch& passed, const std::string& table,
                                   const std::set<size_t>& changed) const {
  for (size_t relation = 0; relation < relations_.size(); ++relation) {
    if (!sideOf(relations_[relation], table) ||
        otherSide(relations_[relation], table) != passed.table)
      continue;
    if (changed.contains(relation) || passed.changedRelations.contains(relation)) return false;
  }
  return true;
}

// The last batch of the table, when it runs the same statement, has room,
// and each later batch, of other tables, lets the write pass.
template <typename Passes>
ServerWritePlan::Batch* ServerWritePlan::joinable(const std::string& table,
                                                  const RowsStatement& statement, size_t width,
                                                  const Passes& passes) {
  size_t looked = 0;
  for (auto batch = batches_.rbegin(); batch != batches_.rend() && looked < BatchesLookedBack;
       ++batch, ++looked) {
    // Writes of one table keep their order.
    if (batch->table == table)
      return batch->statement.oneRow == statement.oneRow &&
                     batch->parameters.texts.size() + width <= BatchParameters
                 ? &*batch
                 : nullptr;
    if (!passes(*batch)) return nullptr;
  }
  return nullptr;
}

ServerWritePlan::Batch& ServerWritePlan::add(const std::string& table,
                                             const RowsStatement& statement, size_t width) {
  Batch& added = batches_.emplace_back();
  added.table = table;
  added.statement = statement;
  added.width = width;
  return added;
}

void ServerWritePlan::append(Batch& batch, const ServerParameters& row, std::int64_t standIn) {
  batch.parameters.texts.insert(batch.parameters.texts.end(), row.texts.begin(), row.texts.end());
  batch.parameters.nulls.insert(batch.parameters.nulls.end(), row.nulls.begin(), row.nulls.end());
  batch.standIns.push_back(standIn);
  ++rows_;
}

void ServerWritePlan::insert(const std::string& table, const RowsStatement& statement,
                             const ServerParameters& row, const RelationKeys& keys,
                             std::int64_t standIn) {
  Batch* batch = joinable(table, statement, row.texts.size(),
                          [&](const Batch& passed) { return commutes(passed, table, keys); });
  if (batch == nullptr) batch = &add(table, statement, row.texts.size());
  append(*batch, row, standIn);
  for (const auto& [relation, key] : keys)
    if (key) batch->keys[relation].insert(*key);
}

void ServerWritePlan::update(const std::string& table, const RowsStatement& statement,
                             const ServerParameters& row, std::set<size_t> changed,
                             std::int64_t rowid) {
  Batch* batch = joinable(table, statement, row.texts.size(), [&](const Batch& passed) {
    return updatePasses(passed, table, changed);
  });
  // A row updated twice keeps its updates apart, in order.
  if (batch == nullptr || batch->rowids.contains(rowid)) {
    batch = &add(table, statement, row.texts.size());
    batch->update = true;
    batch->changedRelations = std::move(changed);
  }
  append(*batch, row, 0);
  batch->rowids.insert(rowid);
}

std::vector<ServerWritePlan::Batch> ServerWritePlan::take() {
  rows_ = 0;
  return std::exchange(batches_, {});
}

}  // namespace veltra::db::engine
