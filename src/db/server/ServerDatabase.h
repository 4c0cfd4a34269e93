#pragma once
// The register as a database on a PostgreSQL server, reached through libpq.
// Text columns are citext in a database with C ctype, so they compare as
// NOCASE does; every row has a hidden identity column for its place.

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "db/engine/EngineDatabase.h"
#include "db/server/ServerConnection.h"
#include "db/server/ServerWriteQueue.h"

namespace veltra::db::engine {

// The hidden column that keeps each row's identity and insertion order.
inline constexpr std::string_view RowIdentityColumn = "veltra_riga";

class ServerQueryRecordset;

// A table of the database as the server's catalogue describes it; registers
// when it carries the hidden identity column, as the program's own tables do.
struct CatalogTable {
  TableInfo info;
  bool registers = false;
};

class ServerDatabase final : public EngineDatabase {
 public:
  // Creates the database the URI names (UTF-8, C collation and ctype) when
  // the role may; otherwise builds in that database when it is empty.
  static std::unique_ptr<ServerDatabase> create(const std::string& uri, EngineStatus& status);
  // Opens a register of this program, refusing any other database.
  static std::unique_ptr<ServerDatabase> open(const std::string& uri, EngineStatus& status);

  ~ServerDatabase() override;

  EngineStatus close() override;
  bool isOpen() const override { return connection_ != nullptr; }
  std::string versionText() const override;
  bool readOnly() const override { return readOnly_; }
  // The server keeps its own files, but it may have been stopped or cut off
  // since the last command: that is found out before the next one starts.
  EngineStatus stillInPlace() const override;
  void setProgressHook(ProgressHook hook) override { progressHook_ = std::move(hook); }

  std::unique_ptr<TableDef> createTableDef(const std::string& name) override;
  EngineStatus createRelation(const RelationDef& relation) override;
  EngineStatus loadTable(const std::string& name, TableInfo& info) const override;
  std::vector<std::string> tableNames() const override;
  std::string insertionOrder() const override { return std::string(RowIdentityColumn); }
  LatestRowsSql latestRows(const LatestRowsRequest& request) const override {
    return latestRowsSql(request, Dialect::Server);
  }

  std::unique_ptr<TableRecordset> openTable(const TableInfo& table, EngineStatus& status) override;
  std::unique_ptr<QueryRecordset> openQuery(const std::string& jetSql,
                                            EngineStatus& status) override;

  // Bulk work first takes the one advisory lock of the register, so two
  // workstations writing at once go one after the other.
  EngineStatus begin() override;
  // Refuses to commit a transaction the server has aborted: its COMMIT would
  // roll back without saying so.
  EngineStatus commit() override;
  void rollback() override;
  bool inTransaction() const override;
  // Writes are deferred under a savepoint that a spoiled attempt rolls back to.
  std::unique_ptr<WriteDeferral> deferWrites(EngineStatus& status) override;
  // Ends the deferral, if any: spoiled when its writes were rolled back.
  EngineStatus settleWrites(bool& spoiled);
  // In a read-only transaction of one snapshot.
  EngineStatus beginReading(bool& begun) override;
  void endReading() override;

  EngineStatus execute(const std::string& sql) override;

  pg_conn* handle() const { return connection_.get(); }
  // The name of the statement prepared on this session from sql, preparing
  // it the first time; empty, with status, when the server refused it. The
  // register's statements are few, and a session keeps them until it ends.
  std::string preparedStatement(const std::string& sql, EngineStatus& status);
  // Runs one statement; the progress hook is called before it.
  ServerResult run(const std::string& sql, EngineStatus& status,
                   const ServerParameters* parameters = nullptr);
  ServerResult runPrepared(const std::string& name, const ServerParameters& parameters,
                           EngineStatus& status);
  ServerResult runPreparedInSavepoint(const std::string& savepoint, const std::string& name,
                                      const ServerParameters& parameters, EngineStatus& status);
  // Rolls bulk work back whole after a failure that is not a row's own: the
  // statements that follow are refused until the work is committed, which
  // tells why once. Gives the status its writes report.
  EngineStatus endWork(const EngineStatus& why);
  // Sends the query's statement with its rows to come one at a time
  // (sendStreamed): until the last one, the query is told to read the rest
  // of them in before any other statement is sent.
  EngineStatus startStream(const std::string& sql, ServerQueryRecordset& query);
  // The next row of the streamed query, alone in its result; at the end of
  // the rows, or on their failure (with status), the connection is free again.
  ServerResult nextStreamed(EngineStatus& status);
  // How many times the program waited for the server: what a slow network multiplies.
  long roundTrips() const { return roundTrips_; }
  // How many attempts at bulk work a refused deferred write spoiled, to be
  // done again a write at a time: a plan of writes the server refuses is
  // found out here, as it only makes the work slower.
  long spoiledAttempts() const { return spoiledAttempts_; }

  // While writes are deferred, the queue they go into; null otherwise.
  ServerWriteQueue* deferredWrites() { return writes_.active() ? &writes_ : nullptr; }
  // Sends the queued writes now: a statement run after them must see them.
  // Without wait their answers are read later, while more writes are queued.
  EngineStatus sendDeferred(bool wait = true);
  // The cache that answers a seek with keyCount keys while writes are deferred, when one serves.
  SeekCache* seekCache(const TableInfo& table, const IndexInfo& index, size_t keyCount);
  // While writes are deferred, reads the rows of the keys the next seeks on
  // the index of one field will ask for, in one statement.
  void expectSeeks(const TableInfo& table, const IndexInfo& index,
                   std::span<const FieldValue> keys);
  // The caches of the deferred writes' seeks, which learn of each write queued.
  SeekCaches& seekCaches() { return seekCaches_; }
  // The identity of a row, waiting for the answer to its deferred insert if it is a stand-in.
  EngineStatus identityOf(std::int64_t& rowid);

 private:
  ServerDatabase(ServerHandle connection, std::string uri);
  static std::unique_ptr<ServerDatabase> connect(const std::string& uri, EngineStatus& status);
  // marked: the program's own mark must be there too (not yet while creating).
  EngineStatus checkRegister(bool marked = true);
  // The failure of a statement, ending bulk work when it cannot go on.
  EngineStatus checked(EngineStatus status);
  EngineStatus markRegister();
  // A statement of the adapter's own that makes, changes and drops no table:
  // the catalogue read stays good, where one run by execute is read again.
  EngineStatus runCommand(const std::string& sql);
  // The relations the server enforces between the register's tables.
  EngineStatus relations(std::vector<RelationDef>& found);
  bool loadSeekCache(SeekCache& cache);
  // The connection, once the rows of a streamed query still to come are read in.
  pg_conn* idleConnection() const;
  // Reads every table's definition, unless known since the last statement
  // that might have changed them.
  EngineStatus readCatalog() const;

  ServerHandle connection_;
  ServerQueryRecordset* stream_ = nullptr;  // whose rows are still coming
  ProgressHook progressHook_;
  ServerWriteQueue writes_;
  SeekCaches seekCaches_;  // while writes are deferred
  // Statement names by their SQL, for the session of prepared.first.
  std::pair<int, std::unordered_map<std::string, std::string>> prepared_;
  std::optional<std::vector<RelationDef>> knownRelations_;
  mutable std::optional<std::vector<CatalogTable>> catalog_;
  long roundTrips_ = 0;
  long spoiledAttempts_ = 0;
  bool bulkWork_ = false;
  bool marked_ = true;
  bool readOnly_ = false;  // false until the transaction that creates the register commits
  std::optional<EngineStatus> ended_;  // why bulk work was ended
};

}  // namespace veltra::db::engine
