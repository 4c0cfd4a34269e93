#pragma once
// The libpq connection and result handles, owned by unique_ptr with their
// own deleters, and the few calls the server side of the adapter makes.
// libpq-fe.h stays out of every header.

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/engine/EngineStatus.h"

struct pg_conn;
struct pg_result;

namespace veltra::db::engine {

struct ConnectionCloser {
  void operator()(pg_conn* connection) const;
};
struct ResultClearer {
  void operator()(pg_result* result) const;
};
using ServerHandle = std::unique_ptr<pg_conn, ConnectionCloser>;
using ServerResult = std::unique_ptr<pg_result, ResultClearer>;

// Connects to the database the URI names (dbname, when given, replaces the
// URI's own database). A failure gets a sentence that names the URI without its password.
ServerHandle connectToServer(const std::string& uri, EngineStatus& status,
                             const std::string& dbname = {});
// The URI with any password taken out: what may be shown, stored or printed.
std::string uriWithoutPassword(std::string_view uri);
// Whether the URI gives a password, however it is spelt (percent-encoded
// names, the user:password@ form): as libpq itself would read it.
bool carriesPassword(const std::string& uri);
// "<database> sul server <host>:<port>", as libpq reads the URI; the URI
// without its password when libpq cannot read it.
std::string serverDisplayName(const std::string& uri);

// Parameters of one statement as text; a null is a missing value.
struct ServerParameters {
  std::vector<std::string> texts;
  std::vector<bool> nulls;
  void resize(size_t count) {
    texts.resize(count);
    nulls.assign(count, false);
  }
};

// Called every few milliseconds while a statement waits on the server (for a
// lock another workstation holds, or a long report), so that the caller's
// window goes on painting.
using WhileWaiting = std::function<void()>;

// Runs one statement with its parameters and waits for the result.
ServerResult runOnServer(pg_conn* connection, const std::string& sql, EngineStatus& status,
                         const ServerParameters* parameters = nullptr,
                         const WhileWaiting& whileWaiting = {});
// The same with a statement prepared once under name.
ServerResult runPrepared(pg_conn* connection, const std::string& name,
                         const ServerParameters& parameters, EngineStatus& status,
                         const WhileWaiting& whileWaiting = {});
// The same inside its own savepoint, the three sent at once in one pipeline:
// one round trip. A refused write leaves the transaction aborted up to the
// savepoint, for the caller to roll back to it.
ServerResult runPreparedInSavepoint(pg_conn* connection, const std::string& savepoint,
                                    const std::string& name, const ServerParameters& parameters,
                                    EngineStatus& status, const WhileWaiting& whileWaiting = {});

// Sends one statement whose rows then come as the server makes them, each a
// result of its own, instead of all at once at the end: memory follows one
// row, and the caller works on the first rows while the server sends the
// rest. Nothing else may be sent until nextResult has given null.
bool sendStreamed(pg_conn* connection, const std::string& sql);
// The next result of what was sent, once it has arrived whole; null when
// everything sent has been answered.
ServerResult nextResult(pg_conn* connection, const WhileWaiting& whileWaiting);

// One statement of a pipeline: a prepared statement or SQL, with its
// parameters, or the preparation of SQL under a name.
struct PipelinedStatement {
  enum class Kind { Prepared, Sql, Prepare };
  std::string name;  // the SQL itself for Sql
  ServerParameters parameters;
  Kind kind = Kind::Prepared;
  std::string sql;  // what Prepare prepares
};
// Sends the statements at once and reads their results in order: one round
// trip for them all. After a failed statement the server skips the rest,
// whose results say PGRES_PIPELINE_ABORTED. False, with no results, when the
// connection failed.
bool runPipeline(pg_conn* connection, std::span<const PipelinedStatement> statements,
                 std::vector<ServerResult>& results, const WhileWaiting& whileWaiting = {});
// The two halves of runPipeline, for work to go on while the server runs
// the statements: nothing else may be sent on the connection in between.
bool sendPipeline(pg_conn* connection, std::span<const PipelinedStatement> statements,
                  const WhileWaiting& whileWaiting = {});
bool readPipeline(pg_conn* connection, size_t count, std::vector<ServerResult>& results,
                  const WhileWaiting& whileWaiting = {});
// A result as a status: success, or the server's failure in Italian.
EngineStatus statusOf(pg_conn* connection, const pg_result* result);
EngineStatus prepareOnServer(pg_conn* connection, const std::string& name, const std::string& sql);

// Values of a result.
int rowCount(const pg_result* result);
bool isNullAt(const pg_result* result, int row, int column);
std::string_view textAt(const pg_result* result, int row, int column);

}  // namespace veltra::db::engine
