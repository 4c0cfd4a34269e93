#include "db/engine/RowRescue.h"

#include <sqlite3.h>

#include <limits>
#include <set>
#include <vector>

#include "db/engine/Statement.h"
#include "db/engine/TableDef.h"

namespace veltra::db::engine {

bool stopsRepair(const EngineStatus& status) {
  const int primary = status.code & 0xff;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_INTERRUPT;
}

bool refusedByConstraint(const EngineStatus& status) {
  return (status.code & 0xff) == SQLITE_CONSTRAINT;
}

EngineStatus SetAsideRows::ensureTable() {
  if (created_) return EngineStatus::success();
  created_ = true;
  return copy_.execute("CREATE TABLE IF NOT EXISTS " + quoteIdentifier(SetAsideTableName) +
                       " (tavola VARCHAR(64) NOT NULL, riga INTEGER, motivo LONGTEXT, "
                       "valori LONGTEXT)");
}

std::string SetAsideRows::valuesText(const Statement& row, EngineStatus& status) {
  Statement quote(copy_.handle(), "SELECT quote(?)", status);
  std::string text;
  for (int column = 1; status && column < row.columnCount(); ++column) {
    quote.reset();
    quote.bindColumnOf(1, row, column);
    if (!quote.step(status)) break;
    text += (column > 1 ? ", " : "") + row.columnName(column) + " = " + quote.columnText(0);
  }
  return text;
}

EngineStatus SetAsideRows::put(const std::string& table, const Statement& row,
                               const std::string& reason) {
  EngineStatus status = ensureTable();
  if (!status) return status;
  const std::string values = valuesText(row, status);
  if (!status) return status;
  Statement insert(copy_.handle(),
                   "INSERT INTO " + quoteIdentifier(SetAsideTableName) + " VALUES (?, ?, ?, ?)",
                   status);
  insert.bindText(1, table);
  insert.bindColumnOf(2, row, 0);
  insert.bindText(3, reason);
  insert.bindText(4, values);
  if (status) insert.step(status);
  return status;
}

namespace {

using RowId = std::int64_t;
constexpr RowId LowestRowId = std::numeric_limits<RowId>::min();
constexpr RowId HighestRowId = std::numeric_limits<RowId>::max();
// Below this many rowids a range that cannot be scanned is read rowid by rowid.
constexpr std::uint64_t ProbedRange = 64;

RowId middleOf(RowId low, RowId high) {
  const auto span = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
  return static_cast<RowId>(static_cast<std::uint64_t>(low) + span / 2);
}

// Every rowid the table's indexes in the damaged file still name: the rows
// that were there, whether or not their own pages can still be read. An
// index that breaks off gives the rowids read until then.
std::set<RowId> rowidsNamedByIndexes(sqlite3* damaged, const std::string& table) {
  std::set<RowId> rowids;
  EngineStatus status;
  Statement indexes(damaged, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?",
                    status);
  indexes.bindText(1, table);
  std::vector<std::string> names;
  while (indexes.step(status)) names.push_back(indexes.columnText(0));
  for (const std::string& name : names) {
    Statement read(
        damaged,
        "SELECT rowid FROM " + quoteIdentifier(table) + " INDEXED BY " + quoteIdentifier(name),
        status);
    while (status && read.step(status)) rowids.insert(read.columnInt(0));
    status = EngineStatus::success();
  }
  return rowids;
}

// The lowest or the highest rowid of the table, when the path to it can be read.
std::optional<RowId> rowidAtEnd(sqlite3* damaged, const std::string& table, const char* function) {
  EngineStatus status;
  Statement stmt(damaged,
                 std::string("SELECT ") + function + "(rowid) FROM " + quoteIdentifier(table),
                 status);
  if (!status || !stmt.step(status) || stmt.isNull(0)) return std::nullopt;
  return stmt.columnInt(0);
}

class TableCopier {
 public:
  TableCopier(sqlite3* damaged, SqliteDatabase& copy, SetAsideRows& setAside, TableRescue& rescue)
      : damaged_(damaged),
        setAside_(setAside),
        rescue_(rescue),
        scan_(damaged,
              "SELECT rowid, * FROM " + quoteIdentifier(rescue.table) +
                  " WHERE rowid BETWEEN ?1 AND ?2 ORDER BY rowid",
              scanPrepared_),
        probe_(damaged,
               "SELECT rowid, * FROM " + quoteIdentifier(rescue.table) + " WHERE rowid = ?1",
               probePrepared_),
        insert_(copy.handle(), insertSql(copy, rescue.table), insertPrepared_) {}

  // A failure to prepare the copy's insert stops the repair.
  const EngineStatus& insertPrepared() const { return insertPrepared_; }
  bool readsPrepared() const { return scanPrepared_.ok && probePrepared_.ok; }

  // Scans the whole table; where a read fails, goes on past the damage.
  EngineStatus run() {
    const std::set<RowId> named = rowidsNamedByIndexes(damaged_, rescue_.table);
    std::optional<RowId> low = rowidAtEnd(damaged_, rescue_.table, "min");
    std::optional<RowId> high = rowidAtEnd(damaged_, rescue_.table, "max");
    if (!named.empty()) {
      low = std::min(low.value_or(*named.begin()), *named.begin());
      high = std::max(high.value_or(*named.rbegin()), *named.rbegin());
    }
    EngineStatus status;
    if (!low || !high) {
      // Nothing tells how far the rows go: one scan, and what it misses is lost.
      return outerScan(LowestRowId, HighestRowId);
    }
    if (status = outerScan(LowestRowId, *low - (*low > LowestRowId ? 1 : 0)); !status)
      return status;
    if (status = rescueRange(*low, *high); !status) return status;
    if (*high < HighestRowId)
      if (status = outerScan(*high + 1, HighestRowId); !status) return status;
    return countUnreadable(named);
  }

 private:
  static std::string insertSql(SqliteDatabase& copy, const std::string& table) {
    EngineStatus status;
    Statement columns(copy.handle(), "SELECT name FROM pragma_table_info(?)", status);
    columns.bindText(1, table);
    std::string names = "rowid";
    std::string values = "?";
    while (columns.step(status)) {
      names += ", " + quoteIdentifier(columns.columnText(0));
      values += ", ?";
    }
    return "INSERT INTO " + quoteIdentifier(table) + " (" + names + ") VALUES (" + values + ")";
  }

  // Beyond the rowids known: rows there are kept if they can be read, and a
  // failure leaves an unknown number behind.
  EngineStatus outerScan(RowId low, RowId high) {
    bool complete = false;
    const EngineStatus status = scan(low, high, complete);
    if (!complete) rescue_.unknownLosses = true;
    return status;
  }

  // Reads the rowids from low to high; a part that cannot be scanned is
  // halved until the damaged rows are few enough to be tried one by one.
  EngineStatus rescueRange(RowId low, RowId high) {
    bool complete = false;
    RowId next = low;
    EngineStatus status = scan(next, high, complete);
    if (!status || complete) return status;
    if (static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(next) < ProbedRange) {
      for (RowId rowid = next;; ++rowid) {
        bool readable = false;
        if (status = probe(rowid, readable); !status) return status;
        if (rowid == high) return status;
      }
    }
    const RowId middle = middleOf(next, high);
    if (status = rescueRange(next, middle); !status) return status;
    return rescueRange(middle + 1, high);
  }

  // Copies the rows from low to high in rowid order. complete: the scan
  // reached the end; otherwise low is the rowid past the last row copied.
  EngineStatus scan(RowId& low, RowId high, bool& complete) {
    scan_.reset();
    scan_.bindInt(1, low);
    scan_.bindInt(2, high);
    EngineStatus status;
    while (scan_.step(status)) {
      const RowId rowid = scan_.columnInt(0);
      // A page out of order is damage too: what follows it is not trusted.
      if (rowid < low) return EngineStatus::success();
      if (status = keep(scan_); !status) return status;
      if (rowid == high) break;
      low = rowid + 1;
    }
    if (!status) return stopsRepair(status) ? status : EngineStatus::success();
    complete = true;
    return status;
  }

  // Reads one rowid; readable: false when the read failed, true also when
  // there is no such row.
  EngineStatus probe(RowId rowid, bool& readable) {
    probe_.reset();
    probe_.bindInt(1, rowid);
    EngineStatus status;
    readable = true;
    if (probe_.step(status)) return keep(probe_);
    readable = status.ok;
    return stopsRepair(status) ? status : EngineStatus::success();
  }

  // Writes the row into the copy, or sets it aside when the copy refuses it.
  EngineStatus keep(const Statement& row) {
    const RowId rowid = row.columnInt(0);
    if (!copied_.insert(rowid).second) return EngineStatus::success();
    insert_.reset();
    for (int column = 0; column < row.columnCount(); ++column)
      insert_.bindColumnOf(column + 1, row, column);
    EngineStatus status;
    insert_.step(status);
    if (status || !refusedByConstraint(status)) return status;
    ++rescue_.setAside;
    return setAside_.put(rescue_.table, row, status.text);
  }

  // The rows an index names that no scan reached: each is tried once more,
  // and counted as lost when its read fails.
  EngineStatus countUnreadable(const std::set<RowId>& named) {
    for (const RowId rowid : named) {
      if (copied_.count(rowid) != 0) continue;
      bool readable = false;
      if (EngineStatus status = probe(rowid, readable); !status) return status;
      if (!readable) ++rescue_.unreadable;
    }
    return EngineStatus::success();
  }

  sqlite3* damaged_;
  SetAsideRows& setAside_;
  TableRescue& rescue_;
  EngineStatus scanPrepared_;
  EngineStatus probePrepared_;
  EngineStatus insertPrepared_;
  Statement scan_;
  Statement probe_;
  Statement insert_;
  std::set<RowId> copied_;
};

}  // namespace

EngineStatus rescueRows(sqlite3* damaged, SqliteDatabase& copy, SetAsideRows& setAside,
                        TableRescue& rescue) {
  TableCopier copier(damaged, copy, setAside, rescue);
  if (!copier.insertPrepared()) return copier.insertPrepared();
  // A table whose rows cannot even be selected is lost as a whole.
  if (!copier.readsPrepared()) {
    rescue.unknownLosses = true;
    return EngineStatus::success();
  }
  return copier.run();
}

}  // namespace veltra::db::engine
