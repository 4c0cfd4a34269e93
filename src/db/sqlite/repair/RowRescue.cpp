#include "db/sqlite/repair/RowRescue.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

#include "db/engine/TableDef.h"
#include "db/sqlite/SqliteStatement.h"

namespace veltra::db::engine {

bool stopsRepair(const EngineStatus& status) {
  const int primary = status.code & 0xff;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_INTERRUPT;
}

bool refusedByConstraint(const EngineStatus& status) {
  return (status.code & 0xff) == SQLITE_CONSTRAINT;
}

EngineStatus executeOn(sqlite3* db, const std::string& sql) {
  const int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  return code == SQLITE_OK ? EngineStatus::success()
                           : engineFailure(db, sqlite3_extended_errcode(db));
}

EngineStatus SetAsideRows::ensureTable() {
  if (created_) return EngineStatus::success();
  created_ = true;
  return executeOn(copy_, "CREATE TABLE IF NOT EXISTS " + quoteIdentifier(SetAsideTableName) +
                              " (tavola VARCHAR(64) NOT NULL, riga INTEGER, motivo LONGTEXT, "
                              "valori LONGTEXT)");
}

std::string SetAsideRows::valuesText(const SqliteStatement& row, EngineStatus& status) {
  SqliteStatement quote(copy_, "SELECT quote(?)", status);
  std::string text;
  for (int column = 1; status && column < row.columnCount(); ++column) {
    quote.reset();
    quote.bindColumnOf(1, row, column);
    if (!quote.step(status)) break;
    text += (column > 1 ? ", " : "") + row.columnName(column) + " = " + quote.columnText(0);
  }
  return text;
}

EngineStatus SetAsideRows::put(const std::string& table, const SqliteStatement& row,
                               const std::string& reason) {
  EngineStatus status = ensureTable();
  if (!status) return status;
  const std::string values = valuesText(row, status);
  if (!status) return status;
  SqliteStatement insert(
      copy_, "INSERT INTO " + quoteIdentifier(SetAsideTableName) + " VALUES (?, ?, ?, ?)", status);
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

std::vector<std::string> indexesOf(sqlite3* damaged, const std::string& table) {
  EngineStatus status;
  SqliteStatement indexes(
      damaged, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?", status);
  indexes.bindText(1, table);
  std::vector<std::string> names;
  while (indexes.step(status)) names.push_back(indexes.columnText(0));
  return names;
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

// The names joined by commas, each given after its own copy of `each`
// ("?" and "? AS " make a parameter list; nothing makes a column list).
std::string listOf(const std::vector<std::string>& names, const std::string& each, bool withNames) {
  std::string list;
  for (const std::string& name : names)
    list += (list.empty() ? "" : ", ") + each + (withNames ? name : std::string());
  return list;
}

bool isValidUtf8(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80         ? 1
                               : lead >> 5 == 0x6  ? 2
                               : lead >> 4 == 0xe  ? 3
                               : lead >> 3 == 0x1e ? 4
                                                   : 0;
    if (length == 0 || at + length > text.size()) return false;
    std::uint32_t code = length == 1 ? lead : lead & (0x7f >> length);
    for (std::size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if (next >> 6 != 0x2) return false;
      code = (code << 6) | (next & 0x3f);
    }
    static constexpr std::uint32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < Least[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return false;
    at += length;
  }
  return true;
}

}  // namespace

std::optional<std::string> columnWithBadText(const SqliteStatement& row) {
  for (int column = 0; column < row.columnCount(); ++column)
    if (row.holdsText(column) && !isValidUtf8(row.columnText(column)))
      return row.columnName(column);
  return std::nullopt;
}

namespace {

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

void bindStored(SqliteStatement& stmt, int index, const StoredValue& value) {
  switch (value.kind) {
    case StoredValue::Kind::Null:
      return stmt.bindNull(index);
    case StoredValue::Kind::Integer:
      return stmt.bindInt(index, value.integer);
    case StoredValue::Kind::Real:
      return stmt.bindDouble(index, value.real);
    case StoredValue::Kind::Text:
      return stmt.bindText(index, value.bytes);
    case StoredValue::Kind::Blob:
      return stmt.bindBlob(index, value.bytes);
  }
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
    EngineStatus status;
    SqliteStatement indexes(
        damaged_, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?", status);
    indexes.bindText(1, table.name);
    while (indexes.step(status))
      if (auto lookup = lookupIn(table, indexes.columnText(0)); lookup.stmt)
        lookups.push_back(std::move(lookup));
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
