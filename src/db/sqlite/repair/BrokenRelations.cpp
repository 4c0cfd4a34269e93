#include "db/sqlite/repair/BrokenRelations.h"

#include <sqlite3.h>

#include <string>

#include "db/engine/TableDef.h"
#include "db/sqlite/SqliteStatement.h"
#include "db/sqlite/repair/SetAsideRows.h"

namespace veltra::db::engine {

namespace {

struct Violation {
  std::string table;
  std::int64_t rowid = 0;
  std::string parent;
};

std::vector<Violation> violations(sqlite3* copy, EngineStatus& status) {
  std::vector<Violation> found;
  SqliteStatement check(copy, "PRAGMA foreign_key_check", status);
  while (status && check.step(status))
    found.push_back({check.columnText(0), check.columnInt(1), check.columnText(2)});
  return found;
}

TableRescue& rescueOf(std::vector<TableRescue>& rescues, const std::string& table) {
  for (TableRescue& rescue : rescues)
    if (rescue.table == table) return rescue;
  return rescues.emplace_back(TableRescue{table});
}

// A row that breaks two relations is reported twice: the second finds it gone.
EngineStatus setAside(sqlite3* copy, SetAsideRows& setAside, const Violation& violation,
                      std::vector<TableRescue>& rescues) {
  EngineStatus status;
  const std::string table = quoteIdentifier(violation.table);
  SqliteStatement row(copy, "SELECT rowid, * FROM " + table + " WHERE rowid = ?", status);
  row.bindInt(1, violation.rowid);
  if (!status || !row.step(status)) return status;
  status = setAside.put(violation.table, row,
                        "nessuna riga corrispondente nella tavola \"" + violation.parent + "\"");
  if (!status) return status;
  SqliteStatement remove(copy, "DELETE FROM " + table + " WHERE rowid = ?", status);
  remove.bindInt(1, violation.rowid);
  if (status) remove.step(status);
  if (status) ++rescueOf(rescues, violation.table).setAside;
  return status;
}

}  // namespace

EngineStatus settleRelations(sqlite3* copy, SetAsideRows& setAside,
                             std::vector<TableRescue>& rescues) {
  // Setting a row aside may leave the rows that refer to it without it: they
  // are found by the next pass.
  EngineStatus status;
  for (;;) {
    const auto found = violations(copy, status);
    if (!status || found.empty()) return status;
    for (const Violation& violation : found)
      if (status = engine::setAside(copy, setAside, violation, rescues); !status) return status;
  }
}

}  // namespace veltra::db::engine
