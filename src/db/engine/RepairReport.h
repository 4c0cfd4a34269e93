#pragma once
// What a repair did to a register's rows, as the user is told it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltra::db::engine {

// The table of the repaired file that holds the rows set aside.
inline constexpr std::string_view SetAsideTableName = "righe_messe_da_parte";

// What became of one table's rows.
struct TableRescue {
  std::string table;
  std::int64_t kept = 0;        // read from the damaged file and in the repaired one
  std::int64_t fromPages = 0;   // of those kept, read from the file's pages past a damaged tree
  std::int64_t setAside = 0;    // read, but refused by the table: in the set-aside table
  std::int64_t unreadable = 0;  // named by an index of the damaged file, but not readable
  bool unknownLosses = false;   // a read failed where no index tells which rows were there
};

struct RepairReport {
  std::string keptBeside;  // where the damaged original is now; empty when it stayed in place
  std::vector<TableRescue> tables;

  // True for a healthy file and for a copy that holds every row unchanged.
  bool lostNothing() const;
  // True when the file at the path is a repaired copy.
  bool replaced() const { return !keptBeside.empty(); }
};

}  // namespace veltra::db::engine
