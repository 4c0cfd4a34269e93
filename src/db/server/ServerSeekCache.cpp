#include "db/server/ServerSeekCache.h"

#include <algorithm>

#include "db/engine/TableDef.h"
#include "db/server/ServerConnection.h"
#include "db/server/ServerDatabase.h"
#include "db/server/ServerValues.h"

namespace veltra::db::engine {

namespace {

// Seeks answered one round trip each before the whole index is read.
constexpr int SeeksBeforeCache = 16;

// Each part with its length before it, so that no text can pass for two.
void appendKeyPart(std::string& key, FieldType type, std::string_view text) {
  key += std::to_string(text.size());
  key += ':';
  if (type != FieldType::Text) {
    key += text;
    return;
  }
  for (const char c : text) key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool keyComparable(FieldType type) {
  return type == FieldType::Text || type == FieldType::Byte || type == FieldType::Integer ||
         type == FieldType::Long;
}

std::optional<std::string> serverKey(std::span<const FieldType> types, const KeyPart& part) {
  std::string key, text;
  for (size_t i = 0; i < types.size(); ++i) {
    const FieldValue& value = part(i);
    if (value.isNull) return std::nullopt;
    serverText(value, text);
    appendKeyPart(key, types[i], text);
  }
  return key;
}

bool SeekCache::serves(const TableInfo& table, const IndexInfo& index, size_t keyCount) {
  if (!index.unique || keyCount != index.fields.size()) return false;
  return std::all_of(index.fields.begin(), index.fields.end(), [&](const std::string& field) {
    const int column = table.columnIndex(field);
    return column >= 0 && keyComparable(table.columns[static_cast<size_t>(column)].type);
  });
}

SeekCache::SeekCache(const TableInfo& table, const IndexInfo& index,
                     std::span<const FieldValue> expected) {
  std::string fields;
  for (const std::string& field : index.fields) {
    const auto column = static_cast<size_t>(table.columnIndex(field));
    columns_.push_back(column);
    types_.push_back(table.columns[column].type);
    fields += quoteIdentifier(field) + ", ";
  }
  loadSql_ = "SELECT " + fields + quoteIdentifier(RowIdentityColumn) + " FROM " +
             quoteIdentifier(table.name);
  if (!expected.empty()) expect(index.fields[0], expected);
}

// The server finds each key through the index, comparing as the cache does:
// what it answers for a key is all there is.
void SeekCache::expect(const std::string& field, std::span<const FieldValue> keys) {
  everyRow_ = false;
  std::string& array = loadParameters_.texts.emplace_back("{");
  loadParameters_.nulls.push_back(false);
  std::string text;
  for (const FieldValue& key : keys) {
    if (key.isNull) continue;
    serverText(key, text);
    std::string cached;
    appendKeyPart(cached, types_[0], text);
    if (!expected_.insert(std::move(cached)).second) continue;
    if (array.size() > 1) array += ',';
    appendArrayElement(array, text);
  }
  array += '}';
  loadSql_ +=
      " WHERE " + quoteIdentifier(field) + " = ANY($1::" + serverTypeName(types_[0]) + "[])";
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
      if (complete) appendKeyPart(key, types_[field], textAt(rows, row, column));
    }
    if (complete) rows_.emplace(key, std::stoll(std::string(textAt(rows, row, identityColumn))));
  }
}

SeekCache::Found SeekCache::find(std::span<const FieldValue> keys) const {
  const auto key = serverKey(types_, [&](size_t part) -> const FieldValue& { return keys[part]; });
  if (!key) return {.known = true, .rowid = std::nullopt};
  if (const auto found = rows_.find(*key); found != rows_.end())
    return {.known = true, .rowid = found->second};
  return {.known = everyRow_ || expected_.contains(*key), .rowid = std::nullopt};
}

void SeekCache::noteInsert(std::int64_t rowid, const KeyPart& valueAt) {
  const auto key =
      serverKey(types_, [&](size_t part) -> const FieldValue& { return valueAt(columns_[part]); });
  // A key already there makes this insert fail, and the attempt with it.
  if (key) rows_.emplace(*key, rowid);
}

bool SeekCache::changedBy(const std::vector<bool>& assigned) const {
  return std::any_of(columns_.begin(), columns_.end(),
                     [&](size_t column) { return assigned[column]; });
}

SeekCache* SeekCaches::cacheFor(const TableInfo& table, const IndexInfo& index,
                                const Loader& load) {
  Cached& cached = caches_[table.name][index.name];
  if (cached.cache || ++cached.seeks != SeeksBeforeCache) return cached.cache.get();
  auto cache = std::make_unique<SeekCache>(table, index);
  if (load(*cache)) cached.cache = std::move(cache);
  return cached.cache.get();
}

void SeekCaches::expect(const TableInfo& table, const IndexInfo& index,
                        std::span<const FieldValue> keys, const Loader& load) {
  Cached& cached = caches_[table.name][index.name];
  if (cached.cache || keys.empty()) return;
  auto cache = std::make_unique<SeekCache>(table, index, keys);
  if (load(*cache)) cached.cache = std::move(cache);
}

void SeekCaches::noteInsert(const TableInfo& table, std::int64_t rowid, const KeyPart& row) {
  const auto found = caches_.find(table.name);
  if (found == caches_.end()) return;
  for (auto& [name, cached] : found->second)
    if (cached.cache) cached.cache->noteInsert(rowid, row);
}

void SeekCaches::noteUpdate(const TableInfo& table, const std::vector<bool>& assigned) {
  const auto found = caches_.find(table.name);
  if (found == caches_.end()) return;
  // Whether another row keeps the old key is not known here: the cache goes.
  for (auto& [name, cached] : found->second)
    if (cached.cache && cached.cache->changedBy(assigned)) cached.cache.reset();
}

bool ServerDatabase::loadSeekCache(SeekCache& cache) {
  EngineStatus status;
  auto rows = run(cache.loadSql(), status, cache.loadParameters());
  if (status) cache.load(rows.get());
  return status.ok;
}

SeekCache* ServerDatabase::seekCache(const TableInfo& table, const IndexInfo& index,
                                     size_t keyCount) {
  if (!writes_.active() || !SeekCache::serves(table, index, keyCount)) return nullptr;
  return seekCaches_.cacheFor(table, index,
                              [this](SeekCache& cache) { return loadSeekCache(cache); });
}

void ServerDatabase::expectSeeks(const TableInfo& table, const IndexInfo& index,
                                 std::span<const FieldValue> keys) {
  if (!writes_.active() || !SeekCache::serves(table, index, 1)) return;
  seekCaches_.expect(table, index, keys, [this](SeekCache& cache) { return loadSeekCache(cache); });
}

}  // namespace veltra::db::engine
