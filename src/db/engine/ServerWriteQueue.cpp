#include "db/engine/ServerWriteQueue.h"

#include <libpq-fe.h>

#include <algorithm>

#include "db/engine/ServerDatabase.h"
#include "db/engine/ServerValues.h"
#include "db/engine/TableDef.h"

namespace veltra::db::engine {

namespace {

// Enough writes to make one round trip cost nothing beside them, few enough
// to keep their parameters in memory.
constexpr size_t QueueLength = 512;
// Seeks answered one round trip each before the whole index is read.
constexpr int SeeksBeforeCache = 64;

bool cacheableType(FieldType type) {
  return type == FieldType::Text || type == FieldType::Byte || type == FieldType::Integer ||
         type == FieldType::Long;
}

}  // namespace

bool SeekCache::serves(const TableInfo& table, const IndexInfo& index, size_t keyCount) {
  if (!index.unique || keyCount != index.fields.size()) return false;
  return std::all_of(index.fields.begin(), index.fields.end(), [&](const std::string& field) {
    const int column = table.columnIndex(field);
    return column >= 0 && cacheableType(table.columns[static_cast<size_t>(column)].type);
  });
}

SeekCache::SeekCache(const TableInfo& table, const IndexInfo& index) {
  std::string fields;
  for (const std::string& field : index.fields) {
    const auto column = static_cast<size_t>(table.columnIndex(field));
    columns_.push_back(column);
    types_.push_back(table.columns[column].type);
    fields += quoteIdentifier(field) + ", ";
  }
  loadSql_ = "SELECT " + fields + quoteIdentifier(RowIdentityColumn) + " FROM " +
             quoteIdentifier(table.name);
}

// Each part with its length before it, so that no text can pass for two.
void SeekCache::appendKey(std::string& key, size_t field, std::string_view text) const {
  key += std::to_string(text.size());
  key += ':';
  if (types_[field] != FieldType::Text) {
    key += text;
    return;
  }
  for (const char c : text) key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void SeekCache::load(const pg_result* rows) {
  const int count = rowCount(rows);
  const auto identityColumn = static_cast<int>(columns_.size());
  rows_.reserve(static_cast<size_t>(count));
  std::string key;
  for (int row = 0; row < count; ++row) {
    key.clear();
    bool complete = true;
    for (size_t field = 0; field < columns_.size() && complete; ++field) {
      const auto column = static_cast<int>(field);
      complete = !isNullAt(rows, row, column);
      if (complete) appendKey(key, field, textAt(rows, row, column));
    }
    // A key with a null in it matches no seek, as = never matches null.
    if (complete) rows_.emplace(key, std::stoll(std::string(textAt(rows, row, identityColumn))));
  }
}

template <class ValueOf>
std::optional<std::string> SeekCache::keyOf(ValueOf valueOf) const {
  std::string key, text;
  for (size_t field = 0; field < columns_.size(); ++field) {
    const FieldValue& value = valueOf(field);
    if (value.isNull) return std::nullopt;
    serverText(value, text);
    appendKey(key, field, text);
  }
  return key;
}

std::optional<std::int64_t> SeekCache::find(std::span<const FieldValue> keys) const {
  const auto key = keyOf([&](size_t field) -> const FieldValue& { return keys[field]; });
  if (!key) return std::nullopt;
  const auto found = rows_.find(*key);
  if (found == rows_.end()) return std::nullopt;
  return found->second;
}

void SeekCache::noteInsert(std::int64_t rowid, const WrittenValue& written) {
  const auto key =
      keyOf([&](size_t field) -> const FieldValue& { return written(columns_[field]); });
  // A key already there makes this insert fail, and the attempt with it.
  if (key) rows_.emplace(*key, rowid);
}

bool SeekCache::changedBy(const std::vector<bool>& assigned) const {
  return std::any_of(columns_.begin(), columns_.end(),
                     [&](size_t column) { return assigned[column]; });
}

void ServerWriteQueue::stop() {
  state_ = State::Off;
  queued_.clear();
  standIns_.clear();
  identities_.clear();
  caches_.clear();
}

void ServerWriteQueue::queue(const std::string& statement, const ServerParameters& parameters,
                             std::int64_t standIn) {
  if (spoiled()) return;
  queued_.push_back({statement, parameters, true});
  standIns_.push_back(standIn);
}

std::int64_t ServerWriteQueue::queueInsert(const std::string& statement,
                                           const ServerParameters& parameters) {
  queue(statement, parameters, --lastStandIn_);
  return lastStandIn_;
}

void ServerWriteQueue::queueUpdate(const std::string& statement,
                                   const ServerParameters& parameters) {
  queue(statement, parameters, 0);
}

bool ServerWriteQueue::full() const {
  return queued_.size() >= QueueLength;
}

void ServerWriteQueue::spoil() {
  state_ = State::Spoiled;
  queued_.clear();
  standIns_.clear();
  caches_.clear();
}

EngineStatus ServerWriteQueue::send(pg_conn* connection, const WhileWaiting& whileWaiting) {
  if (queued_.empty()) return EngineStatus::success();
  std::vector<ServerResult> results;
  if (!runPipeline(connection, queued_, results, whileWaiting)) {
    spoil();
    return statusOf(connection, nullptr);
  }
  for (size_t i = 0; i < results.size(); ++i) {
    pg_result* result = results[i].get();
    if (const auto status = statusOf(connection, result); !status) {
      spoil();
      return PQstatus(connection) == CONNECTION_OK ? EngineStatus::success() : status;
    }
    if (standIns_[i] != 0)
      identities_[standIns_[i]] = std::stoll(std::string(textAt(result, 0, 0)));
    else if (std::string_view(PQcmdTuples(result)) != "1") {
      // The row sought is gone: written one by one, the write would find that out.
      spoil();
      return EngineStatus::success();
    }
  }
  queued_.clear();
  standIns_.clear();
  return EngineStatus::success();
}

std::optional<std::int64_t> ServerWriteQueue::identity(std::int64_t standIn) const {
  const auto found = identities_.find(standIn);
  if (found == identities_.end()) return std::nullopt;
  return found->second;
}

SeekCache* ServerWriteQueue::cacheFor(const TableInfo& table, const IndexInfo& index,
                                      const CacheLoader& load) {
  Cached& cached = caches_[table.name][index.name];
  if (cached.cache || ++cached.seeks != SeeksBeforeCache) return cached.cache.get();
  auto cache = std::make_unique<SeekCache>(table, index);
  if (load(*cache)) cached.cache = std::move(cache);
  return cached.cache.get();
}

template <class Each>
void ServerWriteQueue::forCachesOf(const TableInfo& table, Each each) {
  const auto found = caches_.find(table.name);
  if (found == caches_.end()) return;
  for (auto& [name, cached] : found->second) each(cached);
}

void ServerWriteQueue::noteInsert(const TableInfo& table, std::int64_t rowid,
                                  const SeekCache::WrittenValue& row) {
  forCachesOf(table, [&](Cached& cached) {
    if (cached.cache) cached.cache->noteInsert(rowid, row);
  });
}

void ServerWriteQueue::noteUpdate(const TableInfo& table, const std::vector<bool>& assigned) {
  // Whether another row keeps the old key is not known here: the cache goes.
  forCachesOf(table, [&](Cached& cached) {
    if (cached.cache && cached.cache->changedBy(assigned)) cached.cache.reset();
  });
}

}  // namespace veltra::db::engine
