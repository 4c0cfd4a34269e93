#pragma once
// The state of every vehicle as of a day: its latest history row dated on or
// before it, with the company and ambit names.

#include <string>

#include "comms/SituationList.h"
#include "db/DatabaseConnection.h"

namespace veltra::comms {

// Fills list with one row per vehicle for date ("GG/MM/AAAA"), in chassis
// order; the engine picks each vehicle's row, so only those are read.
// False when reading failed (the failure was shown): the list may then be
// incomplete or hold older states.
bool LoadFleetSituation(db::DatabaseConnection& connection, const std::string& date,
                        SituationList& list);

}  // namespace veltra::comms
