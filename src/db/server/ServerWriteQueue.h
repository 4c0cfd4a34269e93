#pragma once
// The writes of an attempt at bulk work (see EngineDatabase::deferWrites),
// held and sent to the server many at once instead of one round trip each.
// Inserts into one table are gathered into statements of many rows, which
// the server checks once for all of them instead of once a row: an insert
// joins the rows of an earlier one only when the writes it passes over, of
// other tables, cannot change its result nor it theirs.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "db/server/ServerConnection.h"
#include "db/server/ServerSeekCache.h"

namespace veltra::db::engine {

// "INSERT INTO <table> (<every column>) VALUES ($1, ...) RETURNING <identity>".
std::string insertSql(const TableInfo& table);

class ServerWriteQueue {
 public:
  bool active() const { return state_ != State::Off; }
  // A write was refused: what follows is undone anyway and need not be sent.
  bool spoiled() const { return state_ == State::Spoiled; }
  bool pending() const { return !batches_.empty() || !inFlight_.empty(); }
  // relations: those the server enforces between the register's tables.
  void start(std::vector<RelationDef> relations);
  // Forgets everything of the attempt.
  void stop();

  // Queues an insert of the row valueAt gives and returns a stand-in for
  // the new row's identity until the answer comes.
  std::int64_t queueInsert(const TableInfo& table, const std::string& statement,
                           const ServerParameters& parameters, const KeyPart& valueAt);
  // Queues an update of the row rowid, of the assigned columns.
  void queueUpdate(const TableInfo& table, const std::string& statement,
                   const ServerParameters& parameters, const std::vector<bool>& assigned,
                   std::int64_t rowid);
  // Whether the queue has grown enough to be sent before more is added.
  bool full() const;
  // Sends the queue, after reading the answers to what was sent before.
  // wait: and reads its own answers too; otherwise they are read at the next
  // send, and the server works on them meanwhile. A failure only when the
  // connection broke or the work cannot go on (EngineStatus::endsTheWork); a
  // refused write spoils the attempt.
  EngineStatus send(pg_conn* connection, const WhileWaiting& whileWaiting, bool wait);
  // Reads the answers to what was sent without waiting: nothing else can go
  // to the server before.
  EngineStatus receive(pg_conn* connection, const WhileWaiting& whileWaiting);
  // The identity of a row written in the attempt, once its answer came.
  std::optional<std::int64_t> identity(std::int64_t standIn) const;
  static bool isStandIn(std::int64_t rowid) { return rowid < 0; }

  // The cache that answers seeks on the index, loaded by load once enough
  // seeks asked for one: a few seeks cost less than reading every key of a
  // big table. Null before that, or when loading failed.
  using CacheLoader = std::function<bool(SeekCache&)>;
  SeekCache* cacheFor(const TableInfo& table, const IndexInfo& index, const CacheLoader& load);

 private:
  enum class State { Off, Deferring, Spoiled };
  // Rows written together by inserts, or by updates, of one statement.
  struct Batch {
    std::string table;
    std::string statement;  // prepared, for one row
    bool update = false;
    // The statement of many rows: its start, its end, and the type of each
    // value of a row where the statement does not give them.
    std::string manyRows, manyRowsEnd;
    std::vector<std::string> casts;
    size_t width = 0;  // parameters a row
    ServerParameters parameters;
    std::vector<std::int64_t> standIns;       // a row each; 0 for an update
    std::unordered_set<std::int64_t> rowids;  // those updated
    // By relation: the keys the rows have on their side of it.
    std::map<size_t, std::unordered_set<std::string>> keys;
    std::set<size_t> changedRelations;  // an update that assigns fields of the relation
    // Sent, the preparation of a statement of many rows instead of rows.
    const std::pair<std::string, size_t>* preparation = nullptr;
  };
  // Statements of many rows prepared on the session: by the start of the
  // insert and the number of rows, their names, and whether the server has
  // answered that each is ready.
  struct PreparedRows {
    std::string name;
    bool ready = false;
  };
  struct Cached {
    int seeks = 0;
    std::unique_ptr<SeekCache> cache;
  };
  using RelationKeys = std::map<size_t, std::optional<std::string>>;

  // The key of the row on its table's side of each relation with another table.
  RelationKeys relationKeys(const TableInfo& table, const KeyPart& valueAt) const;
  bool commutes(const Batch& passed, const std::string& table, const RelationKeys& keys) const;
  bool updatePasses(const Batch& passed, const std::string& table,
                    const std::set<size_t>& changed) const;
  // The relations whose fields on the table's side an update assigns.
  std::set<size_t> changedRelations(const TableInfo& table,
                                    const std::vector<bool>& assigned) const;
  // The batch a write of statement may join: the last one of its table, when
  // each of the later ones, of other tables, passes.
  Batch* joinable(const std::string& table, const std::string& statement, size_t width,
                  const std::function<bool(const Batch&)>& passes);
  static void append(ServerParameters& into, const ServerParameters& row);
  // The statements that write the batch, each joined by its rows in sent.
  void statementsOf(Batch& batch, std::vector<PipelinedStatement>& statements,
                    std::vector<Batch>& sent);
  // The name of the statement for rows of the batch, to be prepared in
  // statements first when the session does not have it.
  const std::string& preparedFor(const Batch& batch, size_t rows,
                                 std::vector<PipelinedStatement>& statements,
                                 std::vector<Batch>& sent);
  // Forgets the statements the session may not have: it is a new one, or
  // their preparation was not answered.
  void forgetUnprepared(pg_conn* connection);
  bool answered(Batch& batch, pg_result* result);
  void spoil();
  void noteInsert(const TableInfo& table, std::int64_t rowid, const KeyPart& row);
  void noteUpdate(const TableInfo& table, const std::vector<bool>& assigned);

  State state_ = State::Off;
  std::vector<RelationDef> relations_;
  std::vector<Batch> batches_;
  std::vector<Batch> inFlight_;  // sent, their answers not read yet
  size_t queuedRows_ = 0;
  std::unordered_map<std::int64_t, std::int64_t> identities_;
  std::int64_t lastStandIn_ = 0;
  // By table, then by index name.
  std::map<std::string, std::map<std::string, Cached>, std::less<>> caches_;
  std::map<std::pair<std::string, size_t>, PreparedRows> prepared_;
  int session_ = 0;  // the server process prepared_ belongs to
};

}  // namespace veltra::db::engine
