#pragma once
// Maintenance of any database file the user picks, whether or not it is the
// current one: repair in place, and a compacted copy into a new file.

#include <string>

#include "db/engine/Repair.h"
#include "ui/Outcome.h"
#include "ui/Prompter.h"

namespace veltra::schema {

// What a repair that had to copy the file saved, table by table.
std::string RepairSummaryText(const db::engine::RepairReport& report);

// Database > Ripara. A repair that kept every row shows no message; one that
// lost or set rows aside says so, table by table.
ui::Outcome RepairDatabaseCommand(ui::Prompter& prompter);

// Database > Duplica: source, then destination. A successful copy shows no message.
ui::Outcome DuplicateDatabaseCommand(ui::Prompter& prompter);

}  // namespace veltra::schema
