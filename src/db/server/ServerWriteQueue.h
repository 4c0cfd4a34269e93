#pragma once
// The writes of an attempt at bulk work, held and sent to the server many at
// once instead of one round trip each, in the batches ServerWritePlan makes:
// each batch in one statement of many rows, prepared once a session and
// pipelined, their answers read while the next writes are queued.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/server/ServerConnection.h"
#include "db/server/ServerSeekCache.h"
#include "db/server/ServerWritePlan.h"

namespace veltra::db::engine {

// "INSERT INTO <table> (<every column>) VALUES ($1, ...) RETURNING <identity>".
std::string insertSql(const TableInfo& table);

class ServerWriteQueue {
 public:
  bool active() const { return state_ != State::Off; }
  // A write was refused: what follows is undone anyway and need not be sent.
  bool spoiled() const { return state_ == State::Spoiled; }
  bool pending() const { return !plan_.empty() || !inFlight_.empty(); }
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

 private:
  enum class State { Off, Deferring, Spoiled };
  // A statement sent: rows of a batch, or the preparation of a statement of many rows.
  struct Sent {
    bool update = false;
    std::vector<std::int64_t> standIns;  // a row each; 0 for an update
    const std::string* preparation = nullptr;
  };
  // Statements of many rows prepared on the session: by their SQL, their
  // names, and whether the server has answered that each is ready.
  struct PreparedRows {
    std::string name;
    bool ready = false;
  };
  using Batch = ServerWritePlan::Batch;

  // The statement of many rows that goes with the one of a row, made once an attempt.
  const RowsStatement& rowsStatement(const std::string& oneRow,
                                     const std::function<RowsStatement()>& make);
  // The statements that write the batch, each with what it writes in sent.
  void statementsOf(Batch& batch, std::vector<PipelinedStatement>& statements,
                    std::vector<Sent>& sent);
  // The name of the statement for rows of the batch, to be prepared in
  // statements first when the session does not have it.
  const std::string& preparedFor(const Batch& batch, std::vector<PipelinedStatement>& statements,
                                 std::vector<Sent>& sent);
  // Forgets the statements the session may not have: it is a new one, or
  // their preparation was not answered.
  void forgetUnprepared(pg_conn* connection);
  bool answered(const Sent& sent, pg_result* result);
  void spoil();

  State state_ = State::Off;
  ServerWritePlan plan_;
  std::unordered_map<std::string, RowsStatement> statements_;
  std::vector<Sent> inFlight_;  // sent, their answers not read yet
  std::unordered_map<std::int64_t, std::int64_t> identities_;
  std::int64_t lastStandIn_ = 0;
  std::map<std::string, PreparedRows> prepared_;
  int session_ = 0;  // the server process prepared_ belongs to
};

}  // namespace veltra::db::engine
