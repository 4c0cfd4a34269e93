#pragma once
// Which of the queued writes of an attempt at bulk work go out together, and
// in what order, decided without the server. Rows written by the same
// statement to one table are gathered into batches the server checks once
// for all of them. A write may join an earlier batch of its table only when
// the batches of other tables it passes over cannot change its result nor it
// theirs: the server would refuse a plan that breaks that, and the attempt
// would be redone one write at a time.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "db/engine/SchemaTypes.h"
#include "db/server/ServerConnection.h"
#include "db/server/ServerSeekCache.h"

namespace veltra::db::engine {

// The statement a queued write runs: prepared for one row, and the text of
// the one that writes many rows at once, given an array for each value of a row.
struct RowsStatement {
  std::string oneRow;
  std::string manyRows;
};

class ServerWritePlan {
 public:
  // By relation (its place in the relations the plan was given): the key
  // the row has on its side; none when a field of it is null.
  using RelationKeys = std::map<size_t, std::optional<std::string>>;

  // Rows written together by inserts, or by updates, of one statement.
  struct Batch {
    std::string table;
    RowsStatement statement;
    bool update = false;
    size_t width = 0;  // parameters a row
    ServerParameters parameters;
    std::vector<std::int64_t> standIns;                      // a row each; 0 for an update
    std::unordered_set<std::int64_t> rowids;                 // those updated
    std::map<size_t, std::unordered_set<std::string>> keys;  // of the inserted rows
    std::set<size_t> changedRelations;                       // whose fields an update assigns
  };

  // relations: those the server enforces between the register's tables.
  explicit ServerWritePlan(std::vector<RelationDef> relations = {})
      : relations_(std::move(relations)) {}

  // The key of the row on its table's side of each relation with another table.
  RelationKeys relationKeys(const TableInfo& table, const KeyPart& valueAt) const;
  // The relations whose fields on the table's side an update assigns.
  std::set<size_t> changedRelations(const TableInfo& table,
                                    const std::vector<bool>& assigned) const;

  // An insert of a row with these keys, whose identity is standIn until the server answers.
  void insert(const std::string& table, const RowsStatement& statement, const ServerParameters& row,
              const RelationKeys& keys, std::int64_t standIn);
  // An update of the row rowid that assigns the fields of changed.
  void update(const std::string& table, const RowsStatement& statement, const ServerParameters& row,
              std::set<size_t> changed, std::int64_t rowid);

  size_t rows() const { return rows_; }
  bool empty() const { return batches_.empty(); }
  // The batches in the order they are to be sent, leaving the plan empty.
  std::vector<Batch> take();

 private:
  // Whether an insert with these keys may be sent before the batch it passes.
  bool commutes(const Batch& passed, const std::string& table, const RelationKeys& keys) const;
  // Whether an update assigning changed may be sent before the batch it passes.
  bool updatePasses(const Batch& passed, const std::string& table,
                    const std::set<size_t>& changed) const;
  template <typename Passes>
  Batch* joinable(const std::string& table, const RowsStatement& statement, size_t width,
                  const Passes& passes);
  Batch& add(const std::string& table, const RowsStatement& statement, size_t width);
  void append(Batch& batch, const ServerParameters& row, std::int64_t standIn);

  std::vector<RelationDef> relations_;
  std::vector<Batch> batches_;
  size_t rows_ = 0;
};

}  // namespace veltra::db::engine
