#include "db/server/ServerConnection.h"

#include <libpq-fe.h>

#include "db/platform/Sockets.h"
#include "db/server/ServerConnectFailure.h"
#include "db/server/ServerErrorText.h"

namespace veltra::db::engine {

namespace {

constexpr int ExpandDbname = 1;

// Texts travel as UTF-8 and dates as YYYY-MM-DD whatever the server's defaults.
// The register's statements are short, or run once for each of many rows:
// compiling one to machine code costs more than it saves (from 40 to 460 ms
// on the fleet's states, once the planner's estimate passes the server's threshold).
constexpr const char* SessionOptions =
    "-c DateStyle=ISO,YMD -c client_min_messages=warning -c jit=off";

// The server's own reason goes on lines of its own below the sentence: a box
// shows each line whole, and the URI with the reason would not fit on one.
std::string connectionFailure(pg_conn* connection, const std::string& uri) {
  const std::string sentence = "Impossibile collegarsi al database " + serverDisplayName(uri) + ".";
  if (connection != nullptr && PQconnectionNeedsPassword(connection) != 0)
    return sentence +
           "\n\nIl server chiede una password: la si scrive in ~/.pgpass, in un file di servizio\n"
           "o nella variabile PGPASSWORD, mai nell'indirizzo.";
  return sentence + "\n\n" + connectionFailureReason(connection);
}

// Removes name=value from the query part of a URI.
std::string withoutParameter(std::string uri, std::string_view name) {
  const auto query = uri.find('?');
  if (query == std::string::npos) return uri;
  size_t start = query + 1;
  while (start < uri.size()) {
    size_t end = uri.find('&', start);
    if (end == std::string::npos) end = uri.size();
    const std::string_view item(uri.data() + start, end - start);
    if (item.starts_with(std::string(name) + "=")) {
      const size_t from = uri[start - 1] == '&' ? start - 1 : start;
      const size_t to = (from == start && end < uri.size()) ? end + 1 : end;
      uri.erase(from, to - from);
      continue;
    }
    start = end + 1;
  }
  if (uri.back() == '?') uri.pop_back();
  return uri;
}

}  // namespace

void ConnectionCloser::operator()(pg_conn* connection) const {
  PQfinish(connection);
}
void ResultClearer::operator()(pg_result* result) const {
  PQclear(result);
}

std::string uriWithoutPassword(std::string_view uri) {
  std::string text(uri);
  const auto scheme = text.find("://");
  if (scheme != std::string::npos) {
    const size_t hostStart = scheme + 3;
    const size_t hostEnd = std::min(text.find('/', hostStart), text.find('?', hostStart));
    const size_t at = text.rfind('@', hostEnd == std::string::npos ? text.size() : hostEnd);
    if (at != std::string::npos && at >= hostStart) {
      const size_t colon = text.find(':', hostStart);
      if (colon != std::string::npos && colon < at) text.erase(colon, at - colon);
    }
  }
  return withoutParameter(text, "password");
}

bool carriesPassword(const std::string& uri) {
  PQconninfoOption* options = PQconninfoParse(uri.c_str(), nullptr);
  // What libpq cannot read, it will not connect with either: the text decides.
  if (options == nullptr) return uriWithoutPassword(uri) != uri;
  bool found = false;
  for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option)
    found = found || (std::string_view(option->keyword) == "password" && option->val != nullptr &&
                      *option->val != '\0');
  PQconninfoFree(options);
  return found;
}

std::string serverDisplayName(const std::string& uri) {
  PQconninfoOption* options = PQconninfoParse(uri.c_str(), nullptr);
  if (options == nullptr) return uriWithoutPassword(uri);
  std::string database, host = "localhost", port = "5432";
  for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
    if (option->val == nullptr || *option->val == '\0') continue;
    const std::string_view keyword = option->keyword;
    if (keyword == "dbname") database = option->val;
    if (keyword == "host") host = option->val;
    if (keyword == "port") port = option->val;
  }
  PQconninfoFree(options);
  return database + " sul server " + host + ":" + port;
}

ServerHandle connectToServer(const std::string& uri, EngineStatus& status,
                             const std::string& dbname) {
  // What comes before the URI is a default it may change: a server that
  // accepts and never answers, or vanishes mid-command, is given up on
  // instead of waited for without end.
  const char* keywords[] = {"connect_timeout",
                            "keepalives",
                            "keepalives_idle",
                            "keepalives_interval",
                            "keepalives_count",
                            "dbname",
                            "client_encoding",
                            "options",
                            "application_name",
                            dbname.empty() ? nullptr : "dbname",
                            nullptr};
  const char* values[] = {"10",        "1",    "30",           "10",     "3",
                          uri.c_str(), "UTF8", SessionOptions, "veltra", dbname.c_str(),
                          nullptr};
  ServerHandle connection(PQconnectdbParams(keywords, values, ExpandDbname));
  if (!connection || PQstatus(connection.get()) != CONNECTION_OK) {
    status = EngineStatus::failure(connectionFailure(connection.get(), uri), 0,
                                   FailureKind::ConnectionLost);
    return nullptr;
  }
  // The server's own notices, and its farewell when it ends the session,
  // would reach the user's terminal in English, beside the program's message.
  PQsetNoticeProcessor(
      connection.get(), [](void*, const char*) {}, nullptr);
  status = EngineStatus::success();
  return connection;
}

namespace {

ServerResult checked(pg_conn* connection, pg_result* raw, EngineStatus& status) {
  ServerResult result(raw);
  status = statusOf(connection, result.get());
  return result;
}

std::vector<const char*> parameterValues(const ServerParameters& parameters) {
  std::vector<const char*> values(parameters.texts.size());
  for (size_t i = 0; i < values.size(); ++i)
    values[i] = parameters.nulls[i] ? nullptr : parameters.texts[i].c_str();
  return values;
}

}  // namespace

namespace {

// Sleeping on the socket this long between calls of the waiting hook keeps
// the window's busy indicator counting without spinning.
constexpr int WaitStepMilliseconds = 50;

// Waits until the next result has arrived whole, calling whileWaiting between
// short polls of the socket. False when the connection broke meanwhile: the
// next PQgetResult then says so.
bool awaitResult(pg_conn* connection, const WhileWaiting& whileWaiting) {
  while (PQisBusy(connection) == 1) {
    const int socket = PQsocket(connection);
    if (socket < 0) return false;
    if (!platform::WaitForInput(socket, WaitStepMilliseconds)) return false;
    if (PQconsumeInput(connection) == 0) return false;
    if (whileWaiting) whileWaiting();
  }
  return true;
}

}  // namespace

ServerResult nextResult(pg_conn* connection, const WhileWaiting& whileWaiting) {
  awaitResult(connection, whileWaiting);
  return ServerResult(PQgetResult(connection));
}

bool sendStreamed(pg_conn* connection, const std::string& sql) {
  if (PQsendQueryParams(connection, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0) != 1)
    return false;
  if (PQsetSingleRowMode(connection) == 1) return true;
  // Rows that would come all at once are not what the caller reads: the
  // statement's answer is dropped for the connection to be free again.
  while (nextResult(connection, {})) {
  }
  return false;
}

namespace {

// What PQexec returns, reached without blocking: the last result of what was
// sent, or the first failure among them.
ServerResult collectResults(pg_conn* connection, bool sent, EngineStatus& status,
                            const WhileWaiting& whileWaiting) {
  if (!sent) {
    status = describeServerFailure(connection, nullptr);
    return nullptr;
  }
  ServerResult kept;
  while (ServerResult next = nextResult(connection, whileWaiting)) {
    const auto state = PQresultStatus(next.get());
    const bool keptFailed = kept && PQresultStatus(kept.get()) == PGRES_FATAL_ERROR;
    if (!keptFailed || state == PGRES_FATAL_ERROR) kept = std::move(next);
    if (state == PGRES_COPY_IN || state == PGRES_COPY_OUT) break;
  }
  return checked(connection, kept.release(), status);
}

}  // namespace

ServerResult runOnServer(pg_conn* connection, const std::string& sql, EngineStatus& status,
                         const ServerParameters* parameters, const WhileWaiting& whileWaiting) {
  if (parameters == nullptr)
    return collectResults(connection, PQsendQuery(connection, sql.c_str()) == 1, status,
                          whileWaiting);
  const auto values = parameterValues(*parameters);
  return collectResults(connection,
                        PQsendQueryParams(connection, sql.c_str(), static_cast<int>(values.size()),
                                          nullptr, values.data(), nullptr, nullptr, 0) == 1,
                        status, whileWaiting);
}

ServerResult runPrepared(pg_conn* connection, const std::string& name,
                         const ServerParameters& parameters, EngineStatus& status,
                         const WhileWaiting& whileWaiting) {
  const auto values = parameterValues(parameters);
  return collectResults(
      connection,
      PQsendQueryPrepared(connection, name.c_str(), static_cast<int>(values.size()), values.data(),
                          nullptr, nullptr, 0) == 1,
      status, whileWaiting);
}

namespace {

// The first result of the next statement of a pipeline, the rest of it dropped.
ServerResult nextPipelineResult(pg_conn* connection, const WhileWaiting& whileWaiting) {
  ServerResult first = nextResult(connection, whileWaiting);
  while (ServerResult more = nextResult(connection, whileWaiting)) {
  }
  return first;
}

}  // namespace

namespace {

bool sendStatement(pg_conn* connection, const PipelinedStatement& statement) {
  using Kind = PipelinedStatement::Kind;
  if (statement.kind == Kind::Prepare)
    return PQsendPrepare(connection, statement.name.c_str(), statement.sql.c_str(), 0, nullptr) ==
           1;
  const auto values = parameterValues(statement.parameters);
  const auto count = static_cast<int>(values.size());
  if (statement.kind == Kind::Sql)
    return PQsendQueryParams(connection, statement.name.c_str(), count, nullptr, values.data(),
                             nullptr, nullptr, 0) == 1;
  return PQsendQueryPrepared(connection, statement.name.c_str(), count, values.data(), nullptr,
                             nullptr, 0) == 1;
}

// Writes out all libpq holds for the server. The server's answers are read
// meanwhile: a server that cannot write them stops reading, and both would
// wait on each other.
bool sendBuffered(pg_conn* connection, const WhileWaiting& whileWaiting) {
  for (int left = PQflush(connection); left != 0; left = PQflush(connection)) {
    if (left < 0) return false;
    if (!platform::WaitForInputOrOutput(PQsocket(connection), WaitStepMilliseconds)) return false;
    if (PQconsumeInput(connection) == 0) return false;
    if (whileWaiting) whileWaiting();
  }
  return true;
}

}  // namespace

bool sendPipeline(pg_conn* connection, std::span<const PipelinedStatement> statements,
                  const WhileWaiting& whileWaiting) {
  // Without blocking, libpq keeps in memory what the socket cannot take yet
  // instead of waiting on a server busy answering the first statements.
  if (PQsetnonblocking(connection, 1) != 0) return false;
  bool sent = PQenterPipelineMode(connection) == 1;
  for (const PipelinedStatement& statement : statements)
    sent = sent && sendStatement(connection, statement);
  sent = sent && PQpipelineSync(connection) == 1 && sendBuffered(connection, whileWaiting);
  if (!sent) {
    PQexitPipelineMode(connection);
    PQsetnonblocking(connection, 0);
  }
  return sent;
}

bool readPipeline(pg_conn* connection, size_t count, std::vector<ServerResult>& results,
                  const WhileWaiting& whileWaiting) {
  results.clear();
  results.reserve(count);
  for (size_t i = 0; i < count; ++i)
    results.push_back(nextPipelineResult(connection, whileWaiting));
  ServerResult sync = nextResult(connection, whileWaiting);
  const bool read = sync && PQresultStatus(sync.get()) == PGRES_PIPELINE_SYNC;
  PQexitPipelineMode(connection);
  PQsetnonblocking(connection, 0);
  if (!read) results.clear();
  return read;
}

bool runPipeline(pg_conn* connection, std::span<const PipelinedStatement> statements,
                 std::vector<ServerResult>& results, const WhileWaiting& whileWaiting) {
  results.clear();
  return sendPipeline(connection, statements, whileWaiting) &&
         readPipeline(connection, statements.size(), results, whileWaiting);
}

EngineStatus statusOf(pg_conn* connection, const pg_result* result) {
  const auto state = result != nullptr ? PQresultStatus(result) : PGRES_FATAL_ERROR;
  if (state == PGRES_COMMAND_OK || state == PGRES_TUPLES_OK) return EngineStatus::success();
  return describeServerFailure(connection, result);
}

ServerResult runPreparedInSavepoint(pg_conn* connection, const std::string& savepoint,
                                    const std::string& name, const ServerParameters& parameters,
                                    EngineStatus& status, const WhileWaiting& whileWaiting) {
  using Kind = PipelinedStatement::Kind;
  const PipelinedStatement statements[] = {{"SAVEPOINT " + savepoint, {}, Kind::Sql, {}},
                                           {name, parameters, Kind::Prepared, {}},
                                           {"RELEASE SAVEPOINT " + savepoint, {}, Kind::Sql, {}}};
  std::vector<ServerResult> results;
  if (!runPipeline(connection, statements, results, whileWaiting)) {
    status = describeServerFailure(connection, nullptr);
    return nullptr;
  }
  if (status = statusOf(connection, results[0].get()); !status) return nullptr;
  if (status = statusOf(connection, results[1].get()); status)
    status = statusOf(connection, results[2].get());
  return std::move(results[1]);
}

EngineStatus prepareOnServer(pg_conn* connection, const std::string& name, const std::string& sql) {
  EngineStatus status;
  checked(connection, PQprepare(connection, name.c_str(), sql.c_str(), 0, nullptr), status);
  return status;
}

int rowCount(const pg_result* result) {
  return PQntuples(result);
}
bool isNullAt(const pg_result* result, int row, int column) {
  return PQgetisnull(result, row, column) != 0;
}
std::string_view textAt(const pg_result* result, int row, int column) {
  return {PQgetvalue(result, row, column), static_cast<size_t>(PQgetlength(result, row, column))};
}

}  // namespace veltra::db::engine
