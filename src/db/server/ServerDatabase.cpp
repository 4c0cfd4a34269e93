#include "db/server/ServerDatabase.h"

#include <libpq-fe.h>

#include "db/engine/TableDef.h"
#include "db/server/ServerErrorText.h"
#include "db/server/ServerQueryRecordset.h"
#include "db/server/ServerTableDef.h"
#include "db/server/ServerTableRecordset.h"

namespace veltra::db::engine {

namespace {

// Marks the registers this program creates ("VELT"), as the file's application id does.
constexpr int ApplicationId = 0x56454C54;
constexpr std::string_view MarkTable = "veltra_registro";
// The one advisory lock every bulk writer of the register takes.
constexpr long long BulkWorkLock = 0x56454C54;

std::string databaseNameOf(const std::string& uri) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(uri.c_str(), &error);
  PQfreemem(error);
  std::string name;
  for (auto* option = options; option != nullptr && option->keyword != nullptr; ++option)
    if (std::string_view(option->keyword) == "dbname" && option->val != nullptr) name = option->val;
  PQconninfoFree(options);
  return name;
}

std::string refusal(const std::string& uri, const std::string& reason) {
  return "Il database " + serverDisplayName(uri) + " " + reason;
}

// Creates the database with the encoding and ctype the program compares text
// with, when the role may; a role that may not leaves it to whoever made the database.
EngineStatus createDatabaseIfMissing(const std::string& uri, const std::string& name) {
  EngineStatus status;
  ServerHandle maintenance = connectToServer(uri, status, "postgres");
  if (!maintenance) return EngineStatus::success();
  ServerParameters parameters;
  parameters.texts = {name};
  parameters.nulls = {false};
  auto found = runOnServer(maintenance.get(), "SELECT 1 FROM pg_database WHERE datname = $1",
                           status, &parameters);
  if (!status || rowCount(found.get()) > 0) return status;
  runOnServer(maintenance.get(),
              "CREATE DATABASE " + quoteIdentifier(name) +
                  " ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C' TEMPLATE template0",
              status);
  return status;
}

}  // namespace

ServerDatabase::ServerDatabase(ServerHandle connection, std::string uri)
    : EngineDatabase(uriWithoutPassword(uri)), connection_(std::move(connection)) {}

ServerDatabase::~ServerDatabase() {
  static_cast<void>(close());
}

std::unique_ptr<ServerDatabase> ServerDatabase::connect(const std::string& uri,
                                                        EngineStatus& status) {
  ServerHandle connection = connectToServer(uri, status);
  if (!connection) return nullptr;
  return std::unique_ptr<ServerDatabase>(new ServerDatabase(std::move(connection), uri));
}

std::unique_ptr<ServerDatabase> ServerDatabase::create(const std::string& uri,
                                                       EngineStatus& status) {
  const std::string name = databaseNameOf(uri);
  if (name.empty()) {
    status = EngineStatus::failure("L'indirizzo \"" + uriWithoutPassword(uri) +
                                   "\" non nomina un database del server.");
    return nullptr;
  }
  if (status = createDatabaseIfMissing(uri, name); !status) return nullptr;
  auto db = connect(uri, status);
  if (!db) return nullptr;
  auto tables = db->run(
      "SELECT count(*) FROM pg_class WHERE relnamespace = current_schema()::regnamespace "
      "AND relkind IN ('r', 'v', 'm', 'p', 'f')",
      status);
  if (!status) return nullptr;
  if (textAt(tables.get(), 0, 0) != "0") {
    status = EngineStatus::failure(
        refusal(uri, "contiene già delle tavole: il database non può essere creato."));
    return nullptr;
  }
  if (status = db->checkRegister(false); !status) return nullptr;
  db->marked_ = false;
  return db;
}

EngineStatus ServerDatabase::markRegister() {
  if (auto status = execute("CREATE EXTENSION IF NOT EXISTS citext"); !status) return status;
  if (auto status = execute("CREATE TABLE " + quoteIdentifier(MarkTable) +
                            " (applicazione integer NOT NULL)");
      !status)
    return status;
  if (auto status = execute("INSERT INTO " + quoteIdentifier(MarkTable) + " VALUES (" +
                            std::to_string(ApplicationId) + ")");
      !status)
    return status;
  return EngineStatus::success();
}

std::unique_ptr<ServerDatabase> ServerDatabase::open(const std::string& uri, EngineStatus& status) {
  auto db = connect(uri, status);
  if (!db) return nullptr;
  if (status = db->checkRegister(); !status) return nullptr;
  // A role granted SELECT only reads; told now, not at the first refused write.
  auto writable = db->run(
      "SELECT coalesce(bool_and(has_table_privilege(t.oid, 'INSERT, UPDATE')), true) "
      "FROM pg_class t WHERE t.relnamespace = current_schema()::regnamespace AND t.relkind = 'r' "
      "AND EXISTS (SELECT 1 FROM pg_attribute a WHERE a.attrelid = t.oid AND a.attname = '" +
          std::string(RowIdentityColumn) + "')",
      status);
  if (!status) return nullptr;
  db->readOnly_ = textAt(writable.get(), 0, 0) != "t";
  return db;
}

// Text compares as the program expects only in UTF-8 with the C ctype; and
// only a database this program made holds a register.
EngineStatus ServerDatabase::checkRegister(bool marked) {
  EngineStatus status;
  auto found =
      run("SELECT pg_encoding_to_char(encoding), datctype, to_regclass('" + std::string(MarkTable) +
              "') IS NOT NULL FROM pg_database WHERE datname = current_database()",
          status);
  if (!status) return status;
  const std::string uri = path();
  if (textAt(found.get(), 0, 0) != "UTF8")
    return EngineStatus::failure(
        refusal(uri, "non è in codifica UTF-8: non può contenere il registro."), 0,
        FailureKind::NotADatabase);
  const auto ctype = textAt(found.get(), 0, 1);
  if (ctype != "C" && ctype != "POSIX")
    return EngineStatus::failure(
        refusal(uri, "confronta le lettere secondo la lingua \"" + std::string(ctype) +
                         "\" invece che secondo la regola C: va creato con LC_CTYPE 'C'."),
        0, FailureKind::NotADatabase);
  if (!marked) return EngineStatus::success();
  if (textAt(found.get(), 0, 2) == "t") {
    auto mark = run("SELECT applicazione FROM " + quoteIdentifier(MarkTable), status);
    if (!status) return status;
    if (rowCount(mark.get()) == 1 && textAt(mark.get(), 0, 0) == std::to_string(ApplicationId))
      return EngineStatus::success();
  }
  return EngineStatus::failure(refusal(uri, "non è un database di questo programma."), 0,
                               FailureKind::NotADatabase);
}

EngineStatus ServerDatabase::close() {
  if (!connection_) return EngineStatus::success();
  idleConnection();  // a query's rows still coming are read in first
  rollback();
  connection_.reset();
  return EngineStatus::success();
}

// A broken connection is tried once more, as the server may be back after a
// restart; a session that broke held no half-done work, as the server rolled
// its transaction back. Statements prepared on the old session are gone with it.
EngineStatus ServerDatabase::stillInPlace() const {
  // Another workstation may have changed the tables since the last command.
  catalog_.reset();
  EngineStatus status;
  runOnServer(idleConnection(), "SELECT 1", status, nullptr, progressHook_);
  if (status.ok || status.kind != FailureKind::ConnectionLost) return EngineStatus::success();
  PQreset(connection_.get());
  if (PQstatus(connection_.get()) == CONNECTION_OK) return EngineStatus::success();
  return status;
}

std::string ServerDatabase::versionText() const {
  const char* version =
      connection_ ? PQparameterStatus(connection_.get(), "server_version") : nullptr;
  return std::string("PostgreSQL ") + (version != nullptr ? version : "");
}

ServerResult ServerDatabase::run(const std::string& sql, EngineStatus& status,
                                 const ServerParameters* parameters) {
  if (status = sendDeferred(); !status) return nullptr;
  if (progressHook_) progressHook_();
  ++roundTrips_;
  auto result = runOnServer(idleConnection(), sql, status, parameters, progressHook_);
  status = checked(std::move(status));
  return result;
}

ServerResult ServerDatabase::runPrepared(const std::string& name,
                                         const ServerParameters& parameters, EngineStatus& status) {
  if (status = sendDeferred(); !status) return nullptr;
  if (progressHook_) progressHook_();
  ++roundTrips_;
  auto result = engine::runPrepared(idleConnection(), name, parameters, status, progressHook_);
  status = checked(std::move(status));
  return result;
}

ServerResult ServerDatabase::runPreparedInSavepoint(const std::string& savepoint,
                                                    const std::string& name,
                                                    const ServerParameters& parameters,
                                                    EngineStatus& status) {
  if (status = sendDeferred(); !status) return nullptr;
  if (progressHook_) progressHook_();
  ++roundTrips_;
  auto result = engine::runPreparedInSavepoint(idleConnection(), savepoint, name, parameters,
                                               status, progressHook_);
  status = checked(std::move(status));
  return result;
}

std::string ServerDatabase::preparedStatement(const std::string& sql, EngineStatus& status) {
  auto& [session, names] = prepared_;
  // A session opened again after a break has none of the old one's statements.
  if (const int current = PQbackendPID(connection_.get()); current != session) {
    names.clear();
    session = current;
  }
  if (const auto found = names.find(sql); found != names.end()) {
    status = EngineStatus::success();
    return found->second;
  }
  if (status = sendDeferred(); !status) return {};
  ++roundTrips_;
  const std::string name = "s" + std::to_string(names.size() + 1);
  if (status = prepareOnServer(idleConnection(), name, sql); !status) return {};
  names.emplace(sql, name);
  return name;
}

pg_conn* ServerDatabase::idleConnection() const {
  if (stream_ != nullptr) stream_->drain();
  return connection_.get();
}

EngineStatus ServerDatabase::startStream(const std::string& sql, ServerQueryRecordset& query) {
  if (auto status = sendDeferred(); !status) return status;
  pg_conn* connection = idleConnection();
  if (progressHook_) progressHook_();
  ++roundTrips_;
  if (!sendStreamed(connection, sql)) return checked(describeServerFailure(connection, nullptr));
  stream_ = &query;
  return EngineStatus::success();
}

ServerResult ServerDatabase::nextStreamed(EngineStatus& status) {
  pg_conn* connection = connection_.get();
  ServerResult next = nextResult(connection, progressHook_);
  if (next && PQresultStatus(next.get()) == PGRES_SINGLE_TUPLE) {
    status = EngineStatus::success();
    return next;
  }
  // The last answer, the end of the rows or their failure, is followed by
  // none; the stream is over before a failure can end bulk work, whose
  // rollback needs the connection.
  status = statusOf(connection, next.get());
  while (nextResult(connection, progressHook_)) {
  }
  // libpq keeps the single-row mode until it sends a statement outside a
  // pipeline: the first statement of a pipeline sent next would have its
  // rows one by one. An empty statement ends it.
  EngineStatus ignored;
  runOnServer(connection, "", ignored);
  stream_ = nullptr;
  status = checked(std::move(status));
  return next;
}

EngineStatus ServerDatabase::execute(const std::string& sql) {
  // A statement given as SQL may make, change or drop tables.
  catalog_.reset();
  EngineStatus status;
  run(sql, status);
  return status;
}

EngineStatus ServerDatabase::runCommand(const std::string& sql) {
  EngineStatus status;
  run(sql, status);
  return status;
}

std::unique_ptr<TableDef> ServerDatabase::createTableDef(const std::string& name) {
  return std::make_unique<ServerTableDef>(*this, name);
}

std::unique_ptr<TableRecordset> ServerDatabase::openTable(const TableInfo& table,
                                                          EngineStatus& status) {
  status = EngineStatus::success();
  return std::make_unique<ServerTableRecordset>(*this, table);
}

std::unique_ptr<QueryRecordset> ServerDatabase::openQuery(const std::string& jetSql,
                                                          EngineStatus& status) {
  return ServerQueryRecordset::create(*this, jetSql, status);
}

EngineStatus ServerDatabase::begin() {
  EngineStatus status =
      runCommand("BEGIN; SELECT pg_advisory_xact_lock(" + std::to_string(BulkWorkLock) + ")");
  // A new register is marked by the transaction that builds it: a creation
  // killed midway leaves the database empty, for the next one to fill.
  if (status && !marked_) status = markRegister();
  if (!status) rollback();
  bulkWork_ = status.ok;
  return status;
}

EngineStatus ServerDatabase::commit() {
  bool spoiled = false;
  const EngineStatus settled = settleWrites(spoiled);
  if (ended_)
    return EngineStatus::failure(
        ended_->text + "\n\nIl lavoro è stato interrotto: nessuna modifica è stata salvata.",
        ended_->code, ended_->kind);
  bulkWork_ = false;
  if (!settled || spoiled) {
    rollback();
    return EngineStatus::failure(
        "Il server ha rifiutato una scrittura: nessuna modifica è stata salvata.");
  }
  if (PQstatus(connection_.get()) != CONNECTION_OK) return statusOf(connection_.get(), nullptr);
  if (!inTransaction())
    return EngineStatus::failure(
        "La transazione non è più aperta sul server: nessuna modifica è stata salvata.");
  if (PQtransactionStatus(connection_.get()) == PQTRANS_INERROR) {
    rollback();
    return EngineStatus::failure(
        "Il server ha annullato la transazione dopo un errore: nessuna modifica è stata salvata.");
  }
  EngineStatus status;
  auto result = run("COMMIT", status);
  // A COMMIT that rolled back says so only in its command tag.
  if (status && std::string_view(PQcmdStatus(result.get())) == "ROLLBACK")
    return EngineStatus::failure(
        "Il server ha annullato la transazione: nessuna modifica è stata salvata.");
  if (status) marked_ = true;
  return status;
}

void ServerDatabase::rollback() {
  bulkWork_ = false;
  ended_.reset();
  static_cast<void>(writes_.receive(idleConnection(), progressHook_));
  writes_.stop();
  seekCaches_.clear();
  if (inTransaction()) static_cast<void>(execute("ROLLBACK"));
}

EngineStatus ServerDatabase::beginReading(bool& begun) {
  begun = false;
  if (inTransaction()) return EngineStatus::success();
  const EngineStatus status = runCommand("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
  begun = status.ok;
  return status;
}

void ServerDatabase::endReading() {
  // Nothing was written: ending it can only let the server forget the snapshot.
  if (inTransaction()) static_cast<void>(runCommand("COMMIT"));
}

// A full disk, a cancel or a lost session is not for each row to report:
// going on would only repeat it for every row left, into a transaction the
// server no longer keeps.
EngineStatus ServerDatabase::checked(EngineStatus status) {
  if (status || !status.endsTheWork() || !bulkWork_) return status;
  return endWork(status);
}

EngineStatus ServerDatabase::endWork(const EngineStatus& why) {
  rollback();
  ended_ = why;
  return EngineStatus::failure(why.text, why.code, FailureKind::WorkEnded);
}

bool ServerDatabase::inTransaction() const {
  if (!connection_) return false;
  const auto state = PQtransactionStatus(idleConnection());
  return state == PQTRANS_INTRANS || state == PQTRANS_INERROR || state == PQTRANS_ACTIVE;
}

}  // namespace veltra::db::engine
