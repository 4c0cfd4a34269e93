#pragma once
// Writes a checked communication into the database: the comunica row, then
// for each vehicle its current bus row (updated, or inserted when the chassis
// is new) and one storia row. One transaction encloses the run: a row that
// fails undoes only itself, a crash in the middle leaves the file as it was.

#include "comms/Communication.h"
#include "db/DatabaseConnection.h"
#include "ui/Outcome.h"

namespace veltra::comms {

// The bus rows written, inserted and updated.
struct ImportCounts {
  int inserted = 0;
  int updated = 0;
};

// Failed when the company already communicated on that date (nothing is
// written, both counts 0) or when any row could not be saved; the rows that
// could are kept either way, and counted.
ui::Result<ImportCounts> ApplyCommunication(db::DatabaseConnection& connection,
                                            const Communication& communication);

}  // namespace veltra::comms
