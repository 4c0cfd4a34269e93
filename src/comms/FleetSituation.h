#pragma once
// The state of every vehicle as of a day: its latest history row dated on or
// before it, with the company and ambit names.

#include <string>

#include "comms/SituationList.h"
#include "db/DatabaseConnection.h"

namespace veltra::comms {

// Fills list with one row per vehicle for date ("GG/MM/AAAA"). The history
// is read once, in chassis and date order, keeping one row per vehicle.
// False when reading failed (the failure was shown): the list may then be
// incomplete or hold older states.
bool LoadFleetSituation(db::DatabaseConnection& connection, const std::string& date,
                        SituationList& list);

}  // namespace veltra::comms
