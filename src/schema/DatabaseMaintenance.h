#pragma once
// Maintenance of any database file the user picks, whether or not it is the
// current one: repair in place, and a compacted copy into a new file.

#include <functional>
#include <string>

#include "db/engine/RepairReport.h"
#include "ui/Outcome.h"
#include "ui/Prompter.h"

namespace veltra::schema {

// What a repair that had to copy the file saved, table by table.
std::string RepairSummaryText(const db::engine::RepairReport& report);

// Database > Ripara. A healthy file is left as it was, without a message; a
// file replaced by its repaired copy is said, table by table, with where the
// damaged original is kept.
// beforeRepair: told the chosen file's path before it is touched, so that
// whoever holds it open can let it go.
ui::Outcome RepairDatabaseCommand(
    ui::Prompter& prompter, const std::function<void(const std::string& path)>& beforeRepair = {});

// Database > Duplica: source, then destination. A successful copy shows no message.
ui::Outcome DuplicateDatabaseCommand(ui::Prompter& prompter);

}  // namespace veltra::schema
