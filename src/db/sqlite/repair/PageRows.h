#pragma once
// The rows a damaged file's pages hold, table by table: those on the leaves
// each table's own tree still reaches, and those on leaves no tree reaches,
// given to the table whose columns their records fit. Internal to the engine
// adapter.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "db/sqlite/repair/FilePages.h"

namespace veltra::db::engine {

// A table of the repaired copy: its name, and each column's name and declared type.
struct TableShape {
  std::string name;
  std::vector<std::string> columns;
  std::vector<std::string> declaredTypes;
};

// Whether the damaged file's indexes of the table name the row, its rowid
// with its key values; true where nothing can tell.
using IndexWitness = std::function<bool(const TableShape& table, const StoredRow& row)>;

struct PageRows {
  std::vector<StoredRow> rows;
  std::int64_t damagedCells = 0;  // records on the table's leaves that could not be read
  bool treeFound = false;         // the file's schema table still names the table's root
};

// A leaf no tree reaches goes to the table its records fit whose tree lacks
// their rowids and whose indexes name them: the program's tables may share
// their columns (the history repeats the vehicle's), so the shape alone
// cannot tell. Between two tables that could own it equally, the one whose
// tree was not found at all takes it; otherwise it is left out.
std::map<std::string, PageRows> rowsOnPages(const FilePages& pages,
                                            const std::vector<TableShape>& shapes,
                                            const IndexWitness& witness);

}  // namespace veltra::db::engine
