#pragma once
// Maintenance of any database file the user picks, whether or not it is the
// current one: repair in place, and a compacted copy into a new file.

#include "ui/Prompter.h"

namespace veltra::schema {

enum class MaintenanceResult { Cancelled, Done, Failed };

// Database > Ripara. A successful repair shows no message.
MaintenanceResult RepairDatabaseCommand(ui::Prompter& prompter);

// Database > Duplica: source, then destination. A successful copy shows no message.
MaintenanceResult DuplicateDatabaseCommand(ui::Prompter& prompter);

}  // namespace veltra::schema
