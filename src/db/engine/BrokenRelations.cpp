#include "db/engine/BrokenRelations.h"

#include <sqlite3.h>

#include <algorithm>
#include <set>
#include <string>

#include "db/engine/RowRescue.h"
#include "db/engine/Statement.h"
#include "db/engine/TableDef.h"

namespace veltra::db::engine {

namespace {

// Setting a row aside may leave the rows that refer to it without it, settled
// in the next pass; after these many passes only setting aside remains, and
// every pass after them sets rows aside until none breaks a relation.
constexpr int RebuildingPasses = 8;
// How far a rebuilt row may need rows rebuilt in its turn (bus, its
// communication, its company).
constexpr int RebuildingDepth = 4;

struct Violation {
  std::string table;
  std::int64_t rowid = 0;
  std::string parent;
  int relation = 0;  // the foreign key's id in its table
};

std::vector<Violation> violations(SqliteDatabase& copy, EngineStatus& status) {
  std::vector<Violation> found;
  Statement check(copy.handle(), "PRAGMA foreign_key_check", status);
  while (status && check.step(status))
    found.push_back({check.columnText(0), check.columnInt(1), check.columnText(2),
                     static_cast<int>(check.columnInt(3))});
  // The highest rowid first: the latest row of a key is the one a missing
  // referenced row is rebuilt from.
  std::sort(found.begin(), found.end(), [](const Violation& a, const Violation& b) {
    return a.table != b.table ? a.table < b.table : a.rowid > b.rowid;
  });
  return found;
}

struct ColumnPair {
  std::string from;  // in the referring table
  std::string to;    // in the referenced table
};

std::vector<ColumnPair> pairsOf(SqliteDatabase& copy, const Violation& violation,
                                EngineStatus& status) {
  std::vector<ColumnPair> pairs;
  Statement list(copy.handle(),
                 "SELECT \"from\", \"to\" FROM pragma_foreign_key_list(?) "
                 "WHERE id = ? ORDER BY seq",
                 status);
  list.bindText(1, violation.table);
  list.bindInt(2, violation.relation);
  while (status && list.step(status)) pairs.push_back({list.columnText(0), list.columnText(1)});
  return pairs;
}

std::set<std::string> columnsOf(SqliteDatabase& copy, const std::string& table,
                                EngineStatus& status) {
  std::set<std::string> columns;
  // Called one after another on one status: an earlier failure stays.
  if (!status) return columns;
  Statement list(copy.handle(), "SELECT name FROM pragma_table_info(?)", status);
  list.bindText(1, table);
  while (status && list.step(status)) columns.insert(list.columnText(0));
  return columns;
}

class RelationSettler {
 public:
  RelationSettler(SqliteDatabase& copy, SetAsideRows& setAside, std::vector<TableRescue>& rescues)
      : copy_(copy), setAside_(setAside), rescues_(rescues) {}

  EngineStatus run() {
    EngineStatus status;
    for (int pass = 0;; ++pass) {
      const auto found = violations(copy_, status);
      if (!status || found.empty()) return status;
      for (const Violation& violation : found)
        if (status = settle(violation, pass < RebuildingPasses); !status) return status;
    }
  }

 private:
  EngineStatus settle(const Violation& violation, bool mayRebuild) {
    EngineStatus status;
    const auto pairs = pairsOf(copy_, violation, status);
    if (!status) return status;
    // A key the relation does not name (the referenced table's primary key)
    // gives nothing to rebuild from.
    const bool named = !pairs.empty() && std::none_of(pairs.begin(), pairs.end(),
                                                      [](const auto& p) { return p.to.empty(); });
    if (named && holds(violation, pairs, status)) return status;
    if (!status) return status;
    if (named && mayRebuild) {
      if (rebuild(violation, pairs, 0, status)) return status;
      if (!status && !refusedByConstraint(status)) return status;
    }
    return setAside(violation);
  }

  // An earlier row of the same key may have rebuilt the referenced row
  // already; a key with a null in it refers to nothing.
  bool holds(const Violation& violation, const std::vector<ColumnPair>& pairs,
             EngineStatus& status) {
    std::string nulls, matches;
    for (const ColumnPair& pair : pairs) {
      nulls += "c." + quoteIdentifier(pair.from) + " IS NULL OR ";
      matches += (matches.empty() ? "" : " AND ") + ("p." + quoteIdentifier(pair.to)) + " = c." +
                 quoteIdentifier(pair.from);
    }
    Statement find(copy_.handle(),
                   "SELECT 1 FROM " + quoteIdentifier(violation.table) +
                       " AS c WHERE c.rowid = ? AND (" + nulls + "EXISTS (SELECT 1 FROM " +
                       quoteIdentifier(violation.parent) + " AS p WHERE " + matches + "))",
                   status);
    find.bindInt(1, violation.rowid);
    return status && find.step(status);
  }

  // Whether every relation of the row holds, rebuilding what it refers to
  // where that can be done.
  bool relationsHold(const std::string& table, std::int64_t rowid, int depth,
                     EngineStatus& status) {
    std::vector<Violation> relations;
    Statement list(copy_.handle(), "SELECT DISTINCT id, \"table\" FROM pragma_foreign_key_list(?)",
                   status);
    list.bindText(1, table);
    while (status && list.step(status))
      relations.push_back({table, rowid, list.columnText(1), static_cast<int>(list.columnInt(0))});
    for (const Violation& relation : relations) {
      const auto pairs = pairsOf(copy_, relation, status);
      if (!status) return false;
      if (holds(relation, pairs, status)) continue;
      if (!status || depth >= RebuildingDepth) return false;
      if (!rebuild(relation, pairs, depth + 1, status)) {
        // A row its table refuses only means this relation cannot be made to hold.
        if (refusedByConstraint(status)) status = EngineStatus::success();
        return false;
      }
    }
    return status.ok;
  }

  // The referenced row from the referring row: its key, and every column
  // of the same name in both tables. Taken only when the table accepts it
  // and its own relations hold.
  bool rebuild(const Violation& violation, const std::vector<ColumnPair>& pairs, int depth,
               EngineStatus& status) {
    const auto parentColumns = columnsOf(copy_, violation.parent, status);
    const auto childColumns = columnsOf(copy_, violation.table, status);
    if (!status) return false;
    std::string names, values;
    for (const std::string& column : parentColumns) {
      const auto pair = std::find_if(pairs.begin(), pairs.end(),
                                     [&](const ColumnPair& p) { return p.to == column; });
      std::string source;
      if (pair != pairs.end())
        source = pair->from;
      else if (childColumns.count(column) != 0)
        source = column;
      else
        continue;
      names += (names.empty() ? "" : ", ") + quoteIdentifier(column);
      values += (values.empty() ? "" : ", ") + quoteIdentifier(source);
    }
    Statement insert(copy_.handle(),
                     "INSERT INTO " + quoteIdentifier(violation.parent) + " (" + names +
                         ") SELECT " + values + " FROM " + quoteIdentifier(violation.table) +
                         " WHERE rowid = ?",
                     status);
    insert.bindInt(1, violation.rowid);
    if (status) insert.step(status);
    // A row set aside for another of its relations rebuilds nothing.
    if (!status || sqlite3_changes(copy_.handle()) != 1) return false;
    const std::int64_t rebuilt = sqlite3_last_insert_rowid(copy_.handle());
    if (!relationsHold(violation.parent, rebuilt, depth, status)) {
      if (status) status = remove(violation.parent, rebuilt);
      return false;
    }
    ++rescueOf(violation.parent).rebuilt;
    return true;
  }

  EngineStatus remove(const std::string& table, std::int64_t rowid) {
    EngineStatus status;
    Statement remove(copy_.handle(), "DELETE FROM " + quoteIdentifier(table) + " WHERE rowid = ?",
                     status);
    remove.bindInt(1, rowid);
    if (status) remove.step(status);
    return status;
  }

  EngineStatus setAside(const Violation& violation) {
    EngineStatus status;
    const std::string table = quoteIdentifier(violation.table);
    Statement row(copy_.handle(), "SELECT rowid, * FROM " + table + " WHERE rowid = ?", status);
    row.bindInt(1, violation.rowid);
    if (!status || !row.step(status)) return status;
    status = setAside_.put(violation.table, row,
                           "nessuna riga corrispondente nella tavola \"" + violation.parent + "\"");
    if (!status) return status;
    if (status = remove(violation.table, violation.rowid); status)
      ++rescueOf(violation.table).setAside;
    return status;
  }

  TableRescue& rescueOf(const std::string& table) {
    for (TableRescue& rescue : rescues_)
      if (rescue.table == table) return rescue;
    return rescues_.emplace_back(TableRescue{table});
  }

  SqliteDatabase& copy_;
  SetAsideRows& setAside_;
  std::vector<TableRescue>& rescues_;
};

}  // namespace

EngineStatus settleRelations(SqliteDatabase& copy, SetAsideRows& setAside,
                             std::vector<TableRescue>& rescues) {
  return RelationSettler(copy, setAside, rescues).run();
}

}  // namespace veltra::db::engine
