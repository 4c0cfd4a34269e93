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
// Rows written by one statement at most: a power of two.
constexpr size_t MaxRowsAStatement = 512;

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
RowsStatement manyRowsUpdate(const TableInfo& table, const std::vector<bool>& assigned,
                             const std::string& oneRow) {
  const std::string identity = quoteIdentifier(RowIdentityColumn);
  RowsStatement update{.oneRow = oneRow, .head = {}, .end = {}, .casts = {}};
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

}  // namespace

std::string insertSql(const TableInfo& table) {
  return insertHead(table) + valuesList(table.columns.size(), 1) + returningIdentity();
}

void ServerWriteQueue::start(std::vector<RelationDef> relations) {
  stop();
  plan_ = ServerWritePlan(std::move(relations));
  state_ = State::Deferring;
}

void ServerWriteQueue::stop() {
  state_ = State::Off;
  plan_ = ServerWritePlan();
  statements_.clear();
  identities_.clear();
}

void ServerWriteQueue::spoil() {
  state_ = State::Spoiled;
  static_cast<void>(plan_.take());
}

std::int64_t ServerWriteQueue::queueInsert(const TableInfo& table, const std::string& statement,
                                           const ServerParameters& parameters,
                                           const KeyPart& valueAt) {
  const std::int64_t standIn = --lastStandIn_;
  if (spoiled()) return standIn;
  const RowsStatement& rows = rowsStatement(statement, [&] {
    return RowsStatement{
        .oneRow = statement, .head = insertHead(table), .end = returningIdentity(), .casts = {}};
  });
  plan_.insert(table.name, rows, parameters, plan_.relationKeys(table, valueAt), standIn);
  return standIn;
}

void ServerWriteQueue::queueUpdate(const TableInfo& table, const std::string& statement,
                                   const ServerParameters& parameters,
                                   const std::vector<bool>& assigned, std::int64_t rowid) {
  if (spoiled()) return;
  const RowsStatement& rows =
      rowsStatement(statement, [&] { return manyRowsUpdate(table, assigned, statement); });
  plan_.update(table.name, rows, parameters, plan_.changedRelations(table, assigned), rowid);
}

const RowsStatement& ServerWriteQueue::rowsStatement(const std::string& oneRow,
                                                     const std::function<RowsStatement()>& make) {
  const auto [found, added] = statements_.try_emplace(oneRow);
  if (added) found->second = make();
  return found->second;
}

bool ServerWriteQueue::full() const {
  return plan_.rows() >= QueueLength;
}

// Rows are sent in statements of a power of two rows each, prepared once
// a session: the server then parses and plans each statement once, where a
// text it has not seen costs it more than the rows it writes.
void ServerWriteQueue::statementsOf(Batch& batch, std::vector<PipelinedStatement>& statements,
                                    std::vector<Sent>& sent) {
  using Kind = PipelinedStatement::Kind;
  const size_t rows = batch.standIns.size();
  if (rows == 1) {
    statements.push_back({batch.statement.oneRow, std::move(batch.parameters), Kind::Prepared, {}});
    sent.push_back({batch.update, std::move(batch.standIns), nullptr});
    return;
  }
  auto texts = batch.parameters.texts.begin();
  auto nulls = batch.parameters.nulls.begin();
  for (size_t from = 0; from < rows;) {
    size_t part = MaxRowsAStatement;
    while (part > rows - from) part /= 2;
    const auto width = static_cast<std::ptrdiff_t>(part * batch.width);
    ServerParameters parameters;
    parameters.texts.assign(std::make_move_iterator(texts), std::make_move_iterator(texts + width));
    parameters.nulls.assign(nulls, nulls + width);
    texts += width;
    nulls += width;
    const std::string& name =
        part == 1 ? batch.statement.oneRow : preparedFor(batch, part, statements, sent);
    statements.push_back({name, std::move(parameters), Kind::Prepared, {}});
    const auto first = batch.standIns.begin() + static_cast<std::ptrdiff_t>(from);
    sent.push_back({batch.update, {first, first + static_cast<std::ptrdiff_t>(part)}, nullptr});
    from += part;
  }
}

const std::string& ServerWriteQueue::preparedFor(const Batch& batch, size_t rows,
                                                 std::vector<PipelinedStatement>& statements,
                                                 std::vector<Sent>& sent) {
  const RowsStatement& statement = batch.statement;
  const auto [found, added] = prepared_.try_emplace({statement.head, rows});
  PreparedRows& prepared = found->second;
  if (added) {
    prepared.name = "r" + std::to_string(prepared_.size());
    statements.push_back(
        {prepared.name,
         {},
         PipelinedStatement::Kind::Prepare,
         statement.head + valuesList(batch.width, rows, statement.casts) + statement.end});
    sent.push_back({false, {}, &found->first});
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
bool ServerWriteQueue::answered(const Sent& batch, pg_result* result) {
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
  if (plan_.empty()) return EngineStatus::success();
  forgetUnprepared(connection);
  std::vector<PipelinedStatement> statements;
  std::vector<Sent> sent;
  for (Batch& batch : plan_.take()) statementsOf(batch, statements, sent);
  if (!sendPipeline(connection, statements, whileWaiting)) {
    spoil();
    return statusOf(connection, nullptr);
  }
  inFlight_ = std::move(sent);
  return wait ? receive(connection, whileWaiting) : EngineStatus::success();
}

EngineStatus ServerWriteQueue::receive(pg_conn* connection, const WhileWaiting& whileWaiting) {
  if (inFlight_.empty()) return EngineStatus::success();
  std::vector<Sent> sent = std::move(inFlight_);
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

}  // namespace veltra::db::engine
