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

std::string parameterList(size_t count) {
  std::string list;
  for (size_t i = 1; i <= count; ++i) list += (i > 1 ? ", $" : "$") + std::to_string(i);
  return list;
}

// The rows of many-row statements come as one array of each column, taken
// apart again by unnest: the statement is one whatever the number of rows,
// parsed and planned once a session, where a VALUES list of thousands of
// parameters cost the server more to parse and plan than the rows it wrote.
std::string unnestOf(const std::vector<std::string>& types) {
  std::string list;
  for (size_t i = 0; i < types.size(); ++i)
    list += (i > 0 ? ", $" : "$") + std::to_string(i + 1) + "::" + types[i] + "[]";
  return "unnest(" + list + ")";
}

std::string columnTypes(const TableInfo& table, std::vector<std::string>& types,
                        const std::vector<bool>* assigned = nullptr) {
  std::string names;
  for (size_t i = 0; i < table.columns.size(); ++i) {
    if (assigned != nullptr && !(*assigned)[i]) continue;
    names += (names.empty() ? "" : ", ") + quoteIdentifier(table.columns[i].name);
    types.push_back(serverTypeName(table.columns[i].type));
  }
  return names;
}

std::string returningIdentity() {
  return " RETURNING " + quoteIdentifier(RowIdentityColumn);
}

RowsStatement manyRowsInsert(const TableInfo& table, const std::string& oneRow) {
  std::vector<std::string> types;
  const std::string names = columnTypes(table, types);
  return {.oneRow = oneRow,
          .manyRows = "INSERT INTO " + quoteIdentifier(table.name) + " (" + names +
                      ") SELECT * FROM " + unnestOf(types) + returningIdentity()};
}

// The update of many rows, each with the values of the assigned columns and
// its identity, as the update of one row takes them.
RowsStatement manyRowsUpdate(const TableInfo& table, const std::vector<bool>& assigned,
                             const std::string& oneRow) {
  const std::string identity = quoteIdentifier(RowIdentityColumn);
  const std::string name = quoteIdentifier(table.name);
  std::vector<std::string> types;
  const std::string names = columnTypes(table, types, &assigned);
  std::string assignments;
  for (size_t i = 0; i < table.columns.size(); ++i) {
    if (!assigned[i]) continue;
    const std::string column = quoteIdentifier(table.columns[i].name);
    assignments += (assignments.empty() ? "" : ", ") + column + " = v." + column;
  }
  types.emplace_back("bigint");
  return {.oneRow = oneRow,
          .manyRows = "UPDATE " + name + " SET " + assignments + " FROM " + unnestOf(types) +
                      " AS v(" + names + ", " + identity + ") WHERE " + name + "." + identity +
                      " = v." + identity};
}

// The values of one column of the rows as an array literal.
void appendArray(std::string& array, const ServerParameters& rows, size_t width, size_t column) {
  array += '{';
  for (size_t at = column; at < rows.texts.size(); at += width) {
    if (at != column) array += ',';
    if (rows.nulls[at])
      array += "NULL";
    else
      appendArrayElement(array, rows.texts[at]);
  }
  array += '}';
}

}  // namespace

std::string insertSql(const TableInfo& table) {
  std::vector<std::string> types;
  const std::string names = columnTypes(table, types);
  return "INSERT INTO " + quoteIdentifier(table.name) + " (" + names + ") VALUES (" +
         parameterList(types.size()) + ")" + returningIdentity();
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
  const RowsStatement& rows =
      rowsStatement(statement, [&] { return manyRowsInsert(table, statement); });
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

// A batch of one row goes in the statement of one row, which the session
// has already; more go in the statement of many rows, prepared once a session.
void ServerWriteQueue::statementsOf(Batch& batch, std::vector<PipelinedStatement>& statements,
                                    std::vector<Sent>& sent) {
  using Kind = PipelinedStatement::Kind;
  if (batch.standIns.size() == 1) {
    statements.push_back({batch.statement.oneRow, std::move(batch.parameters), Kind::Prepared, {}});
  } else {
    ServerParameters arrays;
    arrays.resize(batch.width);
    for (size_t column = 0; column < batch.width; ++column)
      appendArray(arrays.texts[column], batch.parameters, batch.width, column);
    statements.push_back(
        {preparedFor(batch, statements, sent), std::move(arrays), Kind::Prepared, {}});
  }
  sent.push_back({batch.update, std::move(batch.standIns), nullptr});
}

const std::string& ServerWriteQueue::preparedFor(const Batch& batch,
                                                 std::vector<PipelinedStatement>& statements,
                                                 std::vector<Sent>& sent) {
  const std::string& sql = batch.statement.manyRows;
  const auto [found, added] = prepared_.try_emplace(sql);
  PreparedRows& prepared = found->second;
  if (added) {
    prepared.name = "r" + std::to_string(prepared_.size());
    statements.push_back({prepared.name, {}, PipelinedStatement::Kind::Prepare, sql});
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
