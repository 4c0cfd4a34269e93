#pragma once
// Writes of an attempt at bulk work, sent to the server many at once instead
// of one round trip each, and the seeks answered meanwhile without asking the
// server. The attempt holds the register's bulk-work lock, so only its own
// writes change the tables it seeks in; its writes are checked when their
// answers come, and one refused spoils the attempt (see EngineDatabase::deferWrites).

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/FieldValue.h"
#include "db/engine/SchemaTypes.h"
#include "db/engine/ServerConnection.h"

namespace veltra::db::engine {

// The rows of one unique index by their key, as the server compares keys:
// text without regard to the case of ASCII letters (citext in a C ctype).
class SeekCache {
 public:
  // Whether a seek with keyCount keys on the index can be answered from a cache.
  static bool serves(const TableInfo& table, const IndexInfo& index, size_t keyCount);
  SeekCache(const TableInfo& table, const IndexInfo& index);

  // The SQL that lists every key of the table with its row, and its result.
  const std::string& loadSql() const { return loadSql_; }
  void load(const pg_result* rows);
  std::optional<std::int64_t> find(std::span<const FieldValue> keys) const;
  // A new row, whose values written gives by the table's column positions.
  using WrittenValue = std::function<const FieldValue&(size_t column)>;
  void noteInsert(std::int64_t rowid, const WrittenValue& written);
  // Whether writing the given columns can change a key of this index.
  bool changedBy(const std::vector<bool>& assigned) const;

 private:
  void appendKey(std::string& key, size_t field, std::string_view text) const;
  // The key of values by index field; none when one is null, as = never matches null.
  template <class ValueOf>
  std::optional<std::string> keyOf(ValueOf valueOf) const;

  std::string loadSql_;
  std::vector<size_t> columns_;  // the index's fields by column position
  std::vector<FieldType> types_;
  std::unordered_map<std::string, std::int64_t> rows_;
};

class ServerWriteQueue {
 public:
  bool active() const { return state_ != State::Off; }
  // A write was refused: what follows is undone anyway and need not be sent.
  bool spoiled() const { return state_ == State::Spoiled; }
  bool pending() const { return !queued_.empty(); }
  void start() { state_ = State::Deferring; }
  // Forgets everything of the attempt.
  void stop();

  // Queues an insert (returning the new row's identity) and gives the row a
  // stand-in identity until the answer comes; or an update of one row.
  std::int64_t queueInsert(const std::string& statement, const ServerParameters& parameters);
  void queueUpdate(const std::string& statement, const ServerParameters& parameters);
  // Whether the queue has grown enough to be sent before more is added.
  bool full() const;
  // Sends the queue and reads its answers. A failure only when the
  // connection broke; a refused write spoils the attempt.
  EngineStatus send(pg_conn* connection, const WhileWaiting& whileWaiting);
  // The identity of a row written in the attempt, once its answer came.
  std::optional<std::int64_t> identity(std::int64_t standIn) const;
  static bool isStandIn(std::int64_t rowid) { return rowid < 0; }

  // The cache that answers seeks on the index, loaded by load once enough
  // seeks asked for one: a few seeks cost less than reading every key of a
  // big table. Null before that, or when loading failed.
  using CacheLoader = std::function<bool(SeekCache&)>;
  SeekCache* cacheFor(const TableInfo& table, const IndexInfo& index, const CacheLoader& load);
  // Keeps the caches of the table true to the attempt's own writes.
  void noteInsert(const TableInfo& table, std::int64_t rowid, const SeekCache::WrittenValue& row);
  void noteUpdate(const TableInfo& table, const std::vector<bool>& assigned);

 private:
  enum class State { Off, Deferring, Spoiled };
  struct Cached {
    int seeks = 0;
    std::unique_ptr<SeekCache> cache;
  };
  template <class Each>
  void forCachesOf(const TableInfo& table, Each each);

  void queue(const std::string& statement, const ServerParameters& parameters,
             std::int64_t standIn);
  void spoil();

  State state_ = State::Off;
  std::vector<PipelinedStatement> queued_;
  std::vector<std::int64_t> standIns_;  // per queued statement; 0 for an update
  std::unordered_map<std::int64_t, std::int64_t> identities_;
  std::int64_t lastStandIn_ = 0;
  // By table, then by index name.
  std::map<std::string, std::map<std::string, Cached>, std::less<>> caches_;
};

}  // namespace veltra::db::engine
