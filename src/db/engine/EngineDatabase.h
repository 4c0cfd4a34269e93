#pragma once
// The engine's database object: one register, opened or created, with the
// schema operations the program needs. One implementation per engine; open
// and create choose it from the locator: a server URI or a file path.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"
#include "db/engine/SqlDialect.h"

namespace veltra::db::engine {

class TableDef;
class TableRecordset;
class QueryRecordset;

// Writes deferred while it lives (see EngineDatabase::deferWrites); going
// out of scope unsettled, it settles them.
class WriteDeferral {
 public:
  virtual ~WriteDeferral() = default;
  // Ends the deferral, reading every answer still due; a failure when the
  // engine could not tell whether the writes stood.
  virtual EngineStatus settle() = 0;
  // Once settled: whether a refused write undid all the deferral wrote.
  virtual bool spoiled() const = 0;
};

class EngineDatabase {
 public:
  // Creates a new, empty register; refused when the file already exists, or
  // when the server's database already holds tables.
  static std::unique_ptr<EngineDatabase> create(const std::string& locator, EngineStatus& status);
  // Opens an existing register, shared and read-write. A missing file, an
  // empty one, one that is not a database, and a server database that is not
  // one of ours all fail here.
  static std::unique_ptr<EngineDatabase> open(const std::string& locator, EngineStatus& status);
  // A libpq connection URI names a register on a server; anything else is a file.
  static bool isServerLocator(std::string_view locator);
  // A URI with a password in it: the program never prints nor stores one.
  static bool carriesPassword(std::string_view locator);
  // The locator of a register on a server, never with a password; an empty
  // user leaves the server's client to take the name of the one logged in.
  static std::string serverLocator(std::string_view host, int port, std::string_view database,
                                   std::string_view user);
  // How the register is named to the user: a file's path, or the database
  // and the server it is on.
  static std::string displayName(const std::string& locator);

  virtual ~EngineDatabase() = default;
  EngineDatabase(const EngineDatabase&) = delete;
  EngineDatabase& operator=(const EngineDatabase&) = delete;

  virtual EngineStatus close() = 0;
  virtual bool isOpen() const = 0;
  // The locator as the user gave it (a URI never with its password).
  const std::string& path() const { return path_; }
  // The engine's name and version, for the about box.
  virtual std::string versionText() const = 0;
  // The user may read the register but not change it (a role that may only
  // read, on a server): asked once, when it is opened.
  virtual bool readOnly() const { return false; }
  // A failure, with the description the user reads, once the register is no
  // longer where it was opened: a file deleted or moved while connected goes
  // on being read through its open handle, and a write into it would fail as
  // if it were read-only.
  virtual EngineStatus stillInPlace() const = 0;

  // One statement (an integrity check, a query over a big table) can hold
  // the calling thread for minutes. The engine calls the hook every so often
  // while it works, so that a window can repaint meanwhile.
  using ProgressHook = std::function<void()>;
  virtual void setProgressHook(ProgressHook hook) = 0;

  // Schema operations.
  virtual std::unique_ptr<TableDef> createTableDef(const std::string& name) = 0;
  virtual EngineStatus createRelation(const RelationDef& relation) = 0;
  virtual EngineStatus loadTable(const std::string& name, TableInfo& info) const = 0;
  // For looking at what a register holds: one that cannot be read lists no tables.
  virtual std::vector<std::string> tableNames() const = 0;
  // What an ORDER BY names to list a table's rows in the order they were written.
  virtual std::string insertionOrder() const = 0;
  // What a FROM and an ORDER BY name to list the rows of a history that
  // stood on a day, in the form the engine runs fastest (see SqlDialect.h).
  virtual LatestRowsSql latestRows(const LatestRowsRequest& request) const = 0;

  // Recordsets on this database.
  virtual std::unique_ptr<TableRecordset> openTable(const TableInfo& table,
                                                    EngineStatus& status) = 0;
  // Translates and prepares a statement of the engine's SQL dialect.
  virtual std::unique_ptr<QueryRecordset> openQuery(const std::string& jetSql,
                                                    EngineStatus& status) = 0;

  // Bulk work runs in one transaction; see Transaction below.
  virtual EngineStatus begin() = 0;
  virtual EngineStatus commit() = 0;
  virtual void rollback() = 0;
  virtual bool inTransaction() const = 0;

  // Inside bulk work, writes may be deferred: sent without waiting for each
  // answer, the answers read many at once. That pays where every answer is a
  // trip over the network. update() then says only that a write was taken;
  // a write the engine refuses later spoils the attempt: settling undoes
  // everything written since the deferral began and says so, and the work is
  // to be done again with writes answered one by one. The deferral lasts as
  // long as the object given; null when the engine does not defer, as one
  // whose answers cost nothing.
  virtual std::unique_ptr<WriteDeferral> deferWrites(EngineStatus& status) {
    status = EngineStatus::success();
    return nullptr;
  }

  // The reads of one report see one state of the register, however many
  // statements they take while others write, from beginReading until
  // endReading. begun: whether this call began it; inside a transaction the
  // reads already see one. An engine on which no other writer's work can
  // come between two reads does nothing.
  virtual EngineStatus beginReading(bool& begun) {
    begun = false;
    return EngineStatus::success();
  }
  virtual void endReading() {}

  // Runs statements with no result; for the adapter's own use and for tests.
  virtual EngineStatus execute(const std::string& sql) = 0;

 protected:
  explicit EngineDatabase(std::string path) : path_(std::move(path)) {}

 private:
  std::string path_;
};

// Bulk work's transaction, begun on construction and rolled back on
// destruction unless committed. Inside an enclosing transaction it joins it
// and does nothing itself.
class Transaction {
 public:
  explicit Transaction(EngineDatabase& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  const EngineStatus& status() const { return status_; }
  EngineStatus commit();

 private:
  EngineDatabase& db_;
  EngineStatus status_;
  bool owner_ = false;
};

}  // namespace veltra::db::engine
