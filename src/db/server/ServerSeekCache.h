#pragma once
// The rows of one unique index by their key, read once from the server, so
// that the seeks of bulk work need not ask it row by row: every row, or only
// those of the keys the seeks were announced to ask for. Keys compare as the
// server compares them: text without regard to the case of ASCII letters
// (citext in a C ctype), whole numbers by their digits.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "db/FieldValue.h"
#include "db/engine/SchemaTypes.h"
#include "db/server/ServerConnection.h"

struct pg_result;

namespace veltra::db::engine {

// Whether keys of the type compare here as on the server.
bool keyComparable(FieldType type);
// The key made of values of the given types, part by part; none when one is
// null, as = never matches null.
using KeyPart = std::function<const FieldValue&(size_t part)>;
std::optional<std::string> serverKey(std::span<const FieldType> types, const KeyPart& part);

class SeekCache {
 public:
  // Whether a seek with keyCount keys on the index can be answered from a cache.
  static bool serves(const TableInfo& table, const IndexInfo& index, size_t keyCount);
  // expected: the keys of an index of one field the rows are read for; none for every row.
  SeekCache(const TableInfo& table, const IndexInfo& index,
            std::span<const FieldValue> expected = {});

  // The SQL that lists the keys read with their rows, its parameters
  // (null when it has none), and its result.
  const std::string& loadSql() const { return loadSql_; }
  const ServerParameters* loadParameters() const { return everyRow_ ? nullptr : &loadParameters_; }
  void load(const pg_result* rows);
  // Whether the cache knows the key's row, and that row if there is one.
  struct Found {
    bool known = false;
    std::optional<std::int64_t> rowid;
  };
  Found find(std::span<const FieldValue> keys) const;
  // A new row of the table, whose values valueAt gives by column position.
  void noteInsert(std::int64_t rowid, const KeyPart& valueAt);
  // Whether writing the given columns can change a key of this index.
  bool changedBy(const std::vector<bool>& assigned) const;

 private:
  void expect(const std::string& field, std::span<const FieldValue> keys);

  std::string loadSql_;
  ServerParameters loadParameters_;
  bool everyRow_ = true;
  std::unordered_set<std::string> expected_;  // when not every row is read
  std::vector<size_t> columns_;               // the index's fields by their position in the table
  std::vector<FieldType> types_;
  std::unordered_map<std::string, std::int64_t> rows_;
};

// The caches of the seeks of an attempt at bulk work, by table and index.
// Each is loaded once enough seeks asked for it: a few seeks cost less than
// reading every key of a big table.
class SeekCaches {
 public:
  using Loader = std::function<bool(SeekCache&)>;
  // The index's cache, loaded by load when it is time; null before that, or
  // when loading failed.
  SeekCache* cacheFor(const TableInfo& table, const IndexInfo& index, const Loader& load);
  // Reads the rows of the keys expected, unless a cache of the index is there already.
  void expect(const TableInfo& table, const IndexInfo& index, std::span<const FieldValue> keys,
              const Loader& load);
  void noteInsert(const TableInfo& table, std::int64_t rowid, const KeyPart& row);
  void noteUpdate(const TableInfo& table, const std::vector<bool>& assigned);
  void clear() { caches_.clear(); }

 private:
  struct Cached {
    int seeks = 0;
    std::unique_ptr<SeekCache> cache;
  };
  std::map<std::string, std::map<std::string, Cached>, std::less<>> caches_;
};

}  // namespace veltra::db::engine
