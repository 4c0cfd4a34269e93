#include "db/sqlite/repair/RowRescue.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "db/engine/TableDef.h"
#include "db/sqlite/SqliteStatement.h"
#include "db/sqlite/repair/RepairStatements.h"
#include "db/sqlite/repair/SetAsideRows.h"

namespace veltra::db::engine {

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
// index that breaks off gives the rowids read until then; whole: one index
// was read to its end, so the rowids are all the table had.
std::set<RowId> rowidsNamedByIndexes(sqlite3* damaged, const std::string& table, bool& whole) {
  std::set<RowId> rowids;
  whole = false;
  for (const std::string& name : indexesOf(damaged, table)) {
    EngineStatus status;
    SqliteStatement read(
        damaged,
        "SELECT rowid FROM " + quoteIdentifier(table) + " INDEXED BY " + quoteIdentifier(name),
        status);
    while (status && read.step(status)) rowids.insert(read.columnInt(0));
    whole = whole || status.ok;
  }
  return rowids;
}

// The lowest or the highest rowid of the table, when the path to it can be read.
std::optional<RowId> rowidAtEnd(sqlite3* damaged, const std::string& table, const char* function) {
  EngineStatus status;
  SqliteStatement stmt(damaged,
                       std::string("SELECT ") + function + "(rowid) FROM " + quoteIdentifier(table),
                       status);
  if (!status || !stmt.step(status) || stmt.isNull(0)) return std::nullopt;
  return stmt.columnInt(0);
}

// The copy's columns of the table, "rowid" first, quoted.
std::vector<std::string> columnsOf(sqlite3* copy, const std::string& table) {
  EngineStatus status;
  SqliteStatement columns(copy, "SELECT name FROM pragma_table_info(?)", status);
  columns.bindText(1, table);
  std::vector<std::string> names{"rowid"};
  while (columns.step(status)) names.push_back(quoteIdentifier(columns.columnText(0)));
  return names;
}

// A row read through SQLite in the form of one read from the pages.
StoredRow storedRowOf(const SqliteStatement& row) {
  StoredRow stored{row.columnInt(0), {}};
  sqlite3_stmt* stmt = row.handle();
  for (int column = 1; column < row.columnCount(); ++column) {
    StoredValue& value = stored.values.emplace_back();
    switch (sqlite3_column_type(stmt, column)) {
      case SQLITE_INTEGER:
        value.kind = StoredValue::Kind::Integer;
        value.integer = sqlite3_column_int64(stmt, column);
        break;
      case SQLITE_FLOAT:
        value.kind = StoredValue::Kind::Real;
        value.real = sqlite3_column_double(stmt, column);
        break;
      case SQLITE_TEXT:
      case SQLITE_BLOB:
        value.kind = sqlite3_column_type(stmt, column) == SQLITE_TEXT ? StoredValue::Kind::Text
                                                                      : StoredValue::Kind::Blob;
        value.bytes.assign(static_cast<const char*>(sqlite3_column_blob(stmt, column)),
                           static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
        break;
      default:
        break;
    }
  }
  return stored;
}

class TableCopier {
 public:
  TableCopier(sqlite3* damaged, sqlite3* copy, SetAsideRows& setAside, const TableShape& shape,
              const IndexWitness& named, TableRescue& rescue)
      : damaged_(damaged),
        setAside_(setAside),
        shape_(shape),
        namedByIndexes_(named),
        rescue_(rescue),
        columns_(columnsOf(copy, rescue.table)),
        scan_(damaged,
              "SELECT " + listOf(columns_, "", true) + " FROM " + quoteIdentifier(rescue.table) +
                  " WHERE rowid BETWEEN ?1 AND ?2 ORDER BY rowid",
              scanPrepared_),
        probe_(damaged,
               "SELECT " + listOf(columns_, "", true) + " FROM " + quoteIdentifier(rescue.table) +
                   " WHERE rowid = ?1",
               probePrepared_),
        insert_(copy,
                "INSERT INTO " + quoteIdentifier(rescue.table) + " (" + listOf(columns_, "", true) +
                    ") VALUES (" + listOf(columns_, "?", false) + ")",
                insertPrepared_),
        stored_(copy, "SELECT " + listOf(columns_, "? AS ", true), storedPrepared_) {}

  // A failure to prepare the statements on the copy stops the repair.
  EngineStatus copyPrepared() const { return insertPrepared_ ? storedPrepared_ : insertPrepared_; }
  bool readsPrepared() const { return scanPrepared_.ok && probePrepared_.ok; }

  // Scans the whole table; where a read fails, goes on past the damage.
  EngineStatus run() {
    const std::set<RowId> named = rowidsNamedByIndexes(damaged_, rescue_.table, indexesWhole_);
    std::optional<RowId> low = rowidAtEnd(damaged_, rescue_.table, "min");
    std::optional<RowId> high = rowidAtEnd(damaged_, rescue_.table, "max");
    if (!named.empty()) {
      low = std::min(low.value_or(*named.begin()), *named.begin());
      high = std::max(high.value_or(*named.rbegin()), *named.rbegin());
    }
    named_ = named;
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
    return status;
  }

  // The rows the file's pages hold that no read through the tree reached.
  EngineStatus keepFromPages(const std::vector<StoredRow>& rows) {
    for (const StoredRow& row : rows) {
      if (copied_.count(row.rowid) != 0 || row.values.size() + 1 != columns_.size()) continue;
      stored_.reset();
      stored_.bindInt(1, row.rowid);
      for (std::size_t i = 0; i < row.values.size(); ++i)
        bindStored(stored_, static_cast<int>(i + 2), row.values[i]);
      EngineStatus status;
      if (!stored_.step(status)) return status;
      if (status = keepCounted(stored_); !status) return status;
    }
    return EngineStatus::success();
  }

  // The rows an index of the damaged file holds whole (every column of the
  // table is in it, as in the communications' key), read from the index
  // alone where neither the tree nor the pages gave them.
  EngineStatus keepFromCoveringIndexes() {
    for (const std::string& index : indexesOf(damaged_, rescue_.table)) {
      if (!covers(index)) continue;
      EngineStatus status;
      SqliteStatement read(damaged_,
                           "SELECT " + listOf(columns_, "", true) + " FROM " +
                               quoteIdentifier(rescue_.table) + " INDEXED BY " +
                               quoteIdentifier(index),
                           status);
      while (status && read.step(status))
        if (copied_.count(read.columnInt(0)) == 0)
          if (status = keepCounted(read); !status) return status;
    }
    return EngineStatus::success();
  }

  // Whether what was lost is known exactly: the indexes gave every rowid,
  // and the rows neither read nor found are counted as unreadable.
  bool lossesKnown() const { return indexesWhole_; }
  bool readFailed() const { return readFailed_; }

  // The rows an index names that neither the tree nor the pages gave: each
  // is tried once more, and counted as lost when its read fails.
  EngineStatus countUnreadable() {
    for (const RowId rowid : named_) {
      if (copied_.count(rowid) != 0) continue;
      bool readable = false;
      if (EngineStatus status = probe(rowid, readable); !status) return status;
      if (!readable || copied_.count(rowid) == 0) ++rescue_.unreadable;
    }
    return EngineStatus::success();
  }

 private:
  // A row the tree did not give: counted as read from the pages once kept.
  EngineStatus keepCounted(const SqliteStatement& row) {
    const std::int64_t setAsideBefore = rescue_.setAside;
    EngineStatus status = keep(row);
    if (status && rescue_.setAside == setAsideBefore) ++rescue_.fromPages;
    return status;
  }

  bool covers(const std::string& index) const {
    EngineStatus status;
    SqliteStatement columns(damaged_, "SELECT name FROM pragma_index_info(?)", status);
    columns.bindText(1, index);
    std::set<std::string> held{"rowid"};
    while (columns.step(status)) held.insert(quoteIdentifier(columns.columnText(0)));
    return std::all_of(columns_.begin(), columns_.end(),
                       [&](const std::string& column) { return held.count(column) != 0; });
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
    if (!status) {
      readFailed_ = true;
      return stopsRepair(status) ? status : EngineStatus::success();
    }
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

  // Writes the row into the copy, or sets it aside when the copy refuses it
  // or a text of it is not UTF-8 (bytes damaged in place).
  EngineStatus keep(const SqliteStatement& row) {
    const RowId rowid = row.columnInt(0);
    if (!copied_.insert(rowid).second) return EngineStatus::success();
    if (const auto column = columnWithBadText(row)) {
      ++rescue_.setAside;
      return setAside_.put(rescue_.table, row, "testo non valido nel campo " + *column);
    }
    // Where the indexes were read whole, a row whose key they do not hold
    // under its rowid was altered in place (a damaged chassis would make a
    // vehicle nobody registered).
    if (indexesWhole_ && !namedByIndexes_(shape_, storedRowOf(row))) {
      ++rescue_.setAside;
      return setAside_.put(rescue_.table, row, "valori diversi da quelli degli indici");
    }
    insert_.reset();
    for (int column = 0; column < row.columnCount(); ++column)
      insert_.bindColumnOf(column + 1, row, column);
    EngineStatus status;
    insert_.step(status);
    if (status || !refusedByConstraint(status)) return status;
    ++rescue_.setAside;
    return setAside_.put(rescue_.table, row, status.text);
  }

  sqlite3* damaged_;
  SetAsideRows& setAside_;
  const TableShape& shape_;
  const IndexWitness& namedByIndexes_;
  TableRescue& rescue_;
  std::vector<std::string> columns_;
  EngineStatus scanPrepared_;
  EngineStatus probePrepared_;
  EngineStatus insertPrepared_;
  EngineStatus storedPrepared_;
  SqliteStatement scan_;
  SqliteStatement probe_;
  SqliteStatement insert_;
  SqliteStatement stored_;
  std::set<RowId> named_;
  std::set<RowId> copied_;
  bool indexesWhole_ = false;
  bool readFailed_ = false;
};

}  // namespace

EngineStatus rescueRows(sqlite3* damaged, sqlite3* copy, SetAsideRows& setAside,
                        const TableShape& shape, const IndexWitness& named,
                        const PageRows& pageRows, TableRescue& rescue) {
  TableCopier copier(damaged, copy, setAside, shape, named, rescue);
  if (const EngineStatus prepared = copier.copyPrepared(); !prepared) return prepared;
  // A table whose rows cannot be selected through SQLite has only its pages.
  const bool throughSqlite = copier.readsPrepared();
  if (throughSqlite)
    if (EngineStatus status = copier.run(); !status) return status;
  if (EngineStatus status = copier.keepFromPages(pageRows.rows); !status) return status;
  if (EngineStatus status = copier.keepFromCoveringIndexes(); !status) return status;
  // Where no index gives every rowid, a failed read or a damaged record
  // leaves losses nobody can count.
  const bool damagedRecords = pageRows.damagedCells > 0;
  if (copier.lossesKnown())
    rescue.unknownLosses = false;
  else if (throughSqlite)
    rescue.unknownLosses = rescue.unknownLosses || copier.readFailed() || damagedRecords;
  else
    rescue.unknownLosses = !pageRows.treeFound || damagedRecords;
  return copier.countUnreadable();
}

}  // namespace veltra::db::engine
