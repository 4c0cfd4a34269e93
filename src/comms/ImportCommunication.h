#pragma once
// The import of a company communication file: the user picks the file, it is
// checked whole, the user confirms, it is applied and the counts are shown.

#include "comms/ApplyCommunication.h"
#include "db/DatabaseConnection.h"
#include "ui/Outcome.h"

namespace veltra::comms {

using ImportOutcome = ui::Result<ImportCounts>;

// Runs the whole dialogue through the connection's Prompter. Cancelled: no
// file chosen. Failed: the file could not be opened, was refused whole
// (nothing written), was a duplicate, or some of its rows failed (the counts
// say what was written). Declined: valid, but the user did not confirm.
ImportOutcome ImportCommunication(db::DatabaseConnection& connection);

}  // namespace veltra::comms
