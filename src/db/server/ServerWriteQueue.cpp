#include "db/server/ServerWriteQueue.h"

#include <libpq-fe.h>

#include <algorithm>

#include "db/engine/TableDef.h"
#include "db/server/ServerDatabase.h"
#include "db/server/ServerValues.h"

namespace veltra::db::engine {

namespace {

// Enough rows to make one round trip cost nothing beside them, few enough
// to keep their parameters in memory.
constexpr size_t QueueLength = 1000;
// A statement of many rows stays well within the 65,535 parameters the
// protocol allows.
constexpr size_t BatchParameters = 30000;
// Rows written by one statement at most: a power of two.
constexpr size_t MaxRowsAStatement = 512;
// How far back an insert looks for the rows it may join.
constexpr size_t BatchesLookedBack = 8;
// Seeks answered one round trip each before the whole index is read.
constexpr int SeeksBeforeCache = 16;
// The key of a relation's side that cannot be compared here: it meets every other.
const std::string AnyKey = "*";

// casts: the type of each value of a row, where the statement gives none.
std::string valuesList(size_t width, size_t rows, const std::vector<std::string>& casts = {}) {
  std::string list;
  size_t number = 0;
  for (size_t row = 0; row < rows; ++row) {
    list += row > 0 ? ", (" : "(";
    for (size_t i = 0; i < width; ++i) {
      list += (i > 0 ? ", $" : "$") + std::to_string(++number);
      if (!casts.empty()) list += "::" + casts[i];
    }
    list += ')';
  }
  return list;
}

std::string insertHead(const TableInfo& table) {
  std::string columns;
  for (const ColumnInfo& column : table.columns)
    columns += (columns.empty() ? "" : ", ") + quoteIdentifier(column.name);
  return "INSERT INTO " + quoteIdentifier(table.name) + " (" + columns + ") VALUES ";
}

std::string returningIdentity() {
  return " RETURNING " + quoteIdentifier(RowIdentityColumn);
}

// The update of many rows, each with the values of the assigned columns and
// its identity, as the update of one row takes them.
struct ManyRowsUpdate {
  std::string head, end;
  std::vector<std::string> casts;
};

ManyRowsUpdate manyRowsUpdate(const TableInfo& table, const std::vector<bool>& assigned) {
  const std::string identity = quoteIdentifier(RowIdentityColumn);
  ManyRowsUpdate update;
  std::string assignments, names;
  for (size_t i = 0; i < table.columns.size(); ++i) {
    if (!assigned[i]) continue;
    const std::string name = quoteIdentifier(table.columns[i].name);
    assignments += (assignments.empty() ? "" : ", ") + name + " = v." + name;
    names += name + ", ";
    update.casts.push_back(serverTypeName(table.columns[i].type));
  }
  update.casts.emplace_back("bigint");
  update.head = "UPDATE " + quoteIdentifier(table.name) + " SET " + assignments + " FROM (VALUES ";
  update.end = ") AS v(" + names + identity + ") WHERE " + quoteIdentifier(table.name) + "." +
               identity + " = v." + identity;
  return update;
}

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

std::string insertSql(const TableInfo& table) {
  return insertHead(table) + valuesList(table.columns.size(), 1) + returningIdentity();
}

void ServerWriteQueue::start(std::vector<RelationDef> relations) {
  stop();
  relations_ = std::move(relations);
  state_ = State::Deferring;
}

void ServerWriteQueue::stop() {
  state_ = State::Off;
  relations_.clear();
  batches_.clear();
  queuedRows_ = 0;
  identities_.clear();
  caches_.clear();
}

void ServerWriteQueue::spoil() {
  state_ = State::Spoiled;
  batches_.clear();
  queuedRows_ = 0;
  caches_.clear();
}

ServerWriteQueue::RelationKeys ServerWriteQueue::relationKeys(const TableInfo& table,
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

// Whether an insert with these keys may be sent before the rows it passes
// over: none of them names its row, nor is named by it, through a relation.
bool ServerWriteQueue::commutes(const Batch& passed, const std::string& table,
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

ServerWriteQueue::Batch* ServerWriteQueue::joinable(
    const std::string& table, const std::string& statement, size_t width,
    const std::function<bool(const Batch&)>& passes) {
  size_t looked = 0;
  for (auto batch = batches_.rbegin(); batch != batches_.rend() && looked < BatchesLookedBack;
       ++batch, ++looked) {
    // Writes of one table keep their order.
    if (batch->table == table)
      return batch->statement == statement &&
                     batch->parameters.texts.size() + width <= BatchParameters
                 ? &*batch
                 : nullptr;
    if (!passes(*batch)) return nullptr;
  }
  return nullptr;
}

// Whether an update may be sent before the writes it passes over: neither it
// nor they change what a relation between their tables compares.
bool ServerWriteQueue::updatePasses(const Batch& passed, const std::string& table,
                                    const std::set<size_t>& changed) const {
  for (size_t relation = 0; relation < relations_.size(); ++relation) {
    if (!sideOf(relations_[relation], table) ||
        otherSide(relations_[relation], table) != passed.table)
      continue;
    if (changed.contains(relation) || passed.changedRelations.contains(relation)) return false;
  }
  return true;
}

std::set<size_t> ServerWriteQueue::changedRelations(const TableInfo& table,
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

void ServerWriteQueue::append(ServerParameters& into, const ServerParameters& row) {
  into.texts.insert(into.texts.end(), row.texts.begin(), row.texts.end());
  into.nulls.insert(into.nulls.end(), row.nulls.begin(), row.nulls.end());
}

std::int64_t ServerWriteQueue::queueInsert(const TableInfo& table, const std::string& statement,
                                           const ServerParameters& parameters,
                                           const KeyPart& valueAt) {
  const std::int64_t standIn = --lastStandIn_;
  if (spoiled()) return standIn;
  const RelationKeys keys = relationKeys(table, valueAt);
  Batch* batch = joinable(table.name, statement, parameters.texts.size(),
                          [&](const Batch& passed) { return commutes(passed, table.name, keys); });
  if (batch == nullptr) {
    Batch& added = batches_.emplace_back();
    added.table = table.name;
    added.statement = statement;
    added.manyRows = insertHead(table);
    added.manyRowsEnd = returningIdentity();
    added.width = parameters.texts.size();
    batch = &added;
  }
  append(batch->parameters, parameters);
  batch->standIns.push_back(standIn);
  for (const auto& [relation, key] : keys)
    if (key) batch->keys[relation].insert(*key);
  ++queuedRows_;
  noteInsert(table, standIn, valueAt);
  return standIn;
}

void ServerWriteQueue::queueUpdate(const TableInfo& table, const std::string& statement,
                                   const ServerParameters& parameters,
                                   const std::vector<bool>& assigned, std::int64_t rowid) {
  if (spoiled()) return;
  std::set<size_t> changed = changedRelations(table, assigned);
  Batch* batch = joinable(table.name, statement, parameters.texts.size(), [&](const Batch& passed) {
    return updatePasses(passed, table.name, changed);
  });
  // A row updated twice keeps its updates apart, in order.
  if (batch == nullptr || batch->rowids.contains(rowid)) {
    Batch& added = batches_.emplace_back();
    ManyRowsUpdate update = manyRowsUpdate(table, assigned);
    added.table = table.name;
    added.statement = statement;
    added.update = true;
    added.manyRows = std::move(update.head);
    added.manyRowsEnd = std::move(update.end);
    added.casts = std::move(update.casts);
    added.width = parameters.texts.size();
    added.changedRelations = std::move(changed);
    batch = &added;
  }
  append(batch->parameters, parameters);
  batch->standIns.push_back(0);
  batch->rowids.insert(rowid);
  ++queuedRows_;
  noteUpdate(table, assigned);
}

bool ServerWriteQueue::full() const {
  return queuedRows_ >= QueueLength;
}

// Rows are sent in statements of a power of two rows each, prepared once
// a session: the server then parses and plans each statement once, where a
// text it has not seen costs it more than the rows it writes.
void ServerWriteQueue::statementsOf(Batch& batch, std::vector<PipelinedStatement>& statements,
                                    std::vector<Batch>& sent) {
  using Kind = PipelinedStatement::Kind;
  const size_t rows = batch.standIns.size();
  if (rows == 1) {
    statements.push_back({batch.statement, std::move(batch.parameters), Kind::Prepared, {}});
    sent.push_back(std::move(batch));
    return;
  }
  auto texts = batch.parameters.texts.begin();
  auto nulls = batch.parameters.nulls.begin();
  for (size_t from = 0; from < rows;) {
    size_t part = MaxRowsAStatement;
    while (part > rows - from) part /= 2;
    Batch piece;
    piece.table = batch.table;
    piece.update = batch.update;
    piece.manyRows = batch.manyRows;
    piece.manyRowsEnd = batch.manyRowsEnd;
    piece.casts = batch.casts;
    piece.width = batch.width;
    piece.standIns.assign(batch.standIns.begin() + static_cast<std::ptrdiff_t>(from),
                          batch.standIns.begin() + static_cast<std::ptrdiff_t>(from + part));
    const auto width = static_cast<std::ptrdiff_t>(part * batch.width);
    piece.parameters.texts.assign(std::make_move_iterator(texts),
                                  std::make_move_iterator(texts + width));
    piece.parameters.nulls.assign(nulls, nulls + width);
    texts += width;
    nulls += width;
    const std::string& name =
        part == 1 ? batch.statement : preparedFor(batch, part, statements, sent);
    statements.push_back({name, std::move(piece.parameters), Kind::Prepared, {}});
    sent.push_back(std::move(piece));
    from += part;
  }
}

const std::string& ServerWriteQueue::preparedFor(const Batch& batch, size_t rows,
                                                 std::vector<PipelinedStatement>& statements,
                                                 std::vector<Batch>& sent) {
  const auto [found, added] = prepared_.try_emplace({batch.manyRows, rows});
  PreparedRows& prepared = found->second;
  if (added) {
    prepared.name = "r" + std::to_string(prepared_.size());
    statements.push_back(
        {prepared.name,
         {},
         PipelinedStatement::Kind::Prepare,
         batch.manyRows + valuesList(batch.width, rows, batch.casts) + batch.manyRowsEnd});
    Batch& preparation = sent.emplace_back();
    preparation.preparation = &found->first;
  }
  return prepared.name;
}

void ServerWriteQueue::forgetUnprepared(pg_conn* connection) {
  if (const int session = PQbackendPID(connection); session != session_) {
    prepared_.clear();
    session_ = session;
  }
  std::erase_if(prepared_, [](const auto& entry) { return !entry.second.ready; });
}

// Inserts get their rows' identities in the order of their VALUES, as the
// server writes and returns them.
bool ServerWriteQueue::answered(Batch& batch, pg_result* result) {
  if (batch.preparation != nullptr) {
    prepared_.at(*batch.preparation).ready = true;
    return true;
  }
  if (batch.update)
    return std::string_view(PQcmdTuples(result)) == std::to_string(batch.standIns.size());
  if (rowCount(result) != static_cast<int>(batch.standIns.size())) return false;
  for (size_t row = 0; row < batch.standIns.size(); ++row)
    identities_[batch.standIns[row]] =
        std::stoll(std::string(textAt(result, static_cast<int>(row), 0)));
  return true;
}

EngineStatus ServerWriteQueue::send(pg_conn* connection, const WhileWaiting& whileWaiting,
                                    bool wait) {
  if (auto status = receive(connection, whileWaiting); !status) return status;
  if (batches_.empty()) return EngineStatus::success();
  forgetUnprepared(connection);
  std::vector<PipelinedStatement> statements;
  std::vector<Batch> sent;
  for (Batch& batch : batches_) statementsOf(batch, statements, sent);
  batches_.clear();
  if (!sendPipeline(connection, statements, whileWaiting)) {
    spoil();
    return statusOf(connection, nullptr);
  }
  inFlight_ = std::move(sent);
  queuedRows_ = 0;
  return wait ? receive(connection, whileWaiting) : EngineStatus::success();
}

EngineStatus ServerWriteQueue::receive(pg_conn* connection, const WhileWaiting& whileWaiting) {
  if (inFlight_.empty()) return EngineStatus::success();
  std::vector<Batch> sent = std::move(inFlight_);
  inFlight_.clear();
  std::vector<ServerResult> results;
  if (!readPipeline(connection, sent.size(), results, whileWaiting)) {
    spoil();
    return statusOf(connection, nullptr);
  }
  for (size_t i = 0; i < results.size(); ++i) {
    if (const auto status = statusOf(connection, results[i].get()); !status) {
      spoil();
      // Only a row's own refusal is for the attempt to be done again.
      return status.endsTheWork() ? status : EngineStatus::success();
    }
    // An update that found no row: its row is gone, which written one by one
    // the write would have found out.
    if (!answered(sent[i], results[i].get())) {
      spoil();
      return EngineStatus::success();
    }
  }
  return EngineStatus::success();
}

std::optional<std::int64_t> ServerWriteQueue::identity(std::int64_t standIn) const {
  const auto found = identities_.find(standIn);
  if (found == identities_.end()) return std::nullopt;
  return found->second;
}

SeekCache* ServerWriteQueue::cacheFor(const TableInfo& table, const IndexInfo& index,
                                      const CacheLoader& load) {
  Cached& cached = caches_[table.name][index.name];
  if (cached.cache || ++cached.seeks != SeeksBeforeCache) return cached.cache.get();
  auto cache = std::make_unique<SeekCache>(table, index);
  if (load(*cache)) cached.cache = std::move(cache);
  return cached.cache.get();
}

void ServerWriteQueue::noteInsert(const TableInfo& table, std::int64_t rowid, const KeyPart& row) {
  const auto found = caches_.find(table.name);
  if (found == caches_.end()) return;
  for (auto& [name, cached] : found->second)
    if (cached.cache) cached.cache->noteInsert(rowid, row);
}

void ServerWriteQueue::noteUpdate(const TableInfo& table, const std::vector<bool>& assigned) {
  const auto found = caches_.find(table.name);
  if (found == caches_.end()) return;
  // Whether another row keeps the old key is not known here: the cache goes.
  for (auto& [name, cached] : found->second)
    if (cached.cache && cached.cache->changedBy(assigned)) cached.cache.reset();
}

}  // namespace veltra::db::engine
