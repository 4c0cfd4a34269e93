#pragma once
// Maintenance of any database file the user picks, whether or not it is the
// current one: repair in place, and a compacted copy into a new file.

#include "ui/Outcome.h"
#include "ui/Prompter.h"

namespace veltra::schema {

// Database > Ripara. A successful repair shows no message.
ui::Outcome RepairDatabaseCommand(ui::Prompter& prompter);

// Database > Duplica: source, then destination. A successful copy shows no message.
ui::Outcome DuplicateDatabaseCommand(ui::Prompter& prompter);

}  // namespace veltra::schema
