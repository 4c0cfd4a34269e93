#pragma once
// Writes a checked communication into the database: the comunica row, then
// for each vehicle its current bus row (updated, or inserted when the chassis
// is new) and one storia row. One transaction encloses the run: a row that
// fails undoes only itself, a crash in the middle leaves the file as it was.

#include "comms/Communication.h"
#include "db/DatabaseConnection.h"

namespace veltra::comms {

// inserted and updated count the bus rows written (the caller sets them to
// 0). False when the company already communicated on that date (nothing is
// written, both counters 0) or when any row could not be saved; the rows that
// could are kept either way.
bool ApplyCommunication(db::DatabaseConnection& connection, const Communication& communication,
                        int& inserted, int& updated);

}  // namespace veltra::comms
