#include "db/sqlite/repair/RowWitnesses.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/engine/TableDef.h"
#include "db/sqlite/SqliteStatement.h"
#include "db/sqlite/repair/RepairStatements.h"

namespace veltra::db::engine {

namespace {

// The lookups of a table's rows in each of its indexes, prepared once.
class IndexLookups {
 public:
  explicit IndexLookups(sqlite3* damaged) : damaged_(damaged) {}

  bool names(const TableShape& table, const StoredRow& row) {
    auto& lookups = lookupsOf(table);
    if (lookups.empty()) return true;
    for (Lookup& lookup : lookups) {
      lookup.stmt->reset();
      for (std::size_t i = 0; i < lookup.positions.size(); ++i)
        bindStored(*lookup.stmt, static_cast<int>(i + 1), row.values[lookup.positions[i]]);
      lookup.stmt->bindInt(static_cast<int>(lookup.positions.size() + 1), row.rowid);
      EngineStatus status;
      if (lookup.stmt->step(status)) return true;
    }
    return false;
  }

 private:
  struct Lookup {
    std::unique_ptr<SqliteStatement> stmt;
    std::vector<std::size_t> positions;  // of the index's columns among the table's
  };

  std::vector<Lookup>& lookupsOf(const TableShape& table) {
    const auto cached = lookups_.find(table.name);
    if (cached != lookups_.end()) return cached->second;
    std::vector<Lookup>& lookups = lookups_[table.name];
    for (const std::string& index : indexesOf(damaged_, table.name))
      if (auto lookup = lookupIn(table, index); lookup.stmt) lookups.push_back(std::move(lookup));
    return lookups;
  }

  Lookup lookupIn(const TableShape& table, const std::string& index) {
    Lookup lookup;
    EngineStatus status;
    SqliteStatement columns(damaged_, "SELECT name FROM pragma_index_info(?)", status);
    columns.bindText(1, index);
    std::string where;
    while (columns.step(status)) {
      const std::string column = columns.columnText(0);
      const auto at = std::find(table.columns.begin(), table.columns.end(), column);
      if (at == table.columns.end()) return {};
      lookup.positions.push_back(static_cast<std::size_t>(at - table.columns.begin()));
      where += quoteIdentifier(column) + " = ? AND ";
    }
    if (!status || lookup.positions.empty()) return {};
    lookup.stmt = std::make_unique<SqliteStatement>(damaged_,
                                                    "SELECT 1 FROM " + quoteIdentifier(table.name) +
                                                        " INDEXED BY " + quoteIdentifier(index) +
                                                        " WHERE " + where + "rowid = ?",
                                                    status);
    if (!status) return {};
    return lookup;
  }

  sqlite3* damaged_;
  std::map<std::string, std::vector<Lookup>> lookups_;
};

// Inserts of a row into each table of the copy, undone at once.
class TrialInserts {
 public:
  explicit TrialInserts(sqlite3* copy) : copy_(copy) {}

  bool accepts(const TableShape& table, const StoredRow& row) {
    SqliteStatement& insert = insertInto(table);
    if (!insert.prepared() || row.values.size() != table.columns.size()) return false;
    insert.reset();
    insert.bindInt(1, row.rowid);
    for (std::size_t i = 0; i < row.values.size(); ++i)
      bindStored(insert, static_cast<int>(i + 2), row.values[i]);
    if (!executeOn(copy_, "SAVEPOINT prova")) return false;
    EngineStatus status;
    insert.step(status);
    static_cast<void>(executeOn(copy_, "ROLLBACK TO prova; RELEASE prova"));
    return status.ok;
  }

 private:
  SqliteStatement& insertInto(const TableShape& table) {
    auto& insert = inserts_[table.name];
    if (!insert) {
      std::vector<std::string> columns{"rowid"};
      for (const std::string& column : table.columns) columns.push_back(quoteIdentifier(column));
      EngineStatus status;
      insert = std::make_unique<SqliteStatement>(
          copy_,
          "INSERT INTO " + quoteIdentifier(table.name) + " (" + listOf(columns, "", true) +
              ") VALUES (" + listOf(columns, "?", false) + ")",
          status);
    }
    return *insert;
  }

  sqlite3* copy_;
  std::map<std::string, std::unique_ptr<SqliteStatement>> inserts_;
};

}  // namespace

IndexWitness copyWitnessOn(sqlite3* copy) {
  auto inserts = std::make_shared<TrialInserts>(copy);
  return [inserts](const TableShape& table, const StoredRow& row) {
    return inserts->accepts(table, row);
  };
}

IndexWitness indexWitnessOn(sqlite3* damaged) {
  auto lookups = std::make_shared<IndexLookups>(damaged);
  return [lookups](const TableShape& table, const StoredRow& row) {
    return lookups->names(table, row);
  };
}

}  // namespace veltra::db::engine
