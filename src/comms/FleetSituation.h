#pragma once
// The state of every vehicle as of a day: its latest history row dated on or
// before it, with the company and ambit names.

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "comms/SituationList.h"
#include "db/DatabaseConnection.h"

namespace veltra::comms {

// Fills list with one row per vehicle for date ("GG/MM/AAAA"), in chassis
// order; the engine picks each vehicle's row, so only those are read.
// False when reading failed (the failure was shown): the list may then be
// incomplete or hold older states.
bool LoadFleetSituation(db::DatabaseConnection& connection, const std::string& date,
                        SituationList& list);

// The same states handed one at a time, in chassis order, each vehicle once
// and under the spelling its chassis was first registered with; take may move
// from the row. Only one state is held at a time, so the memory does not grow
// with the register. False when reading failed (the failure was shown).
bool ForEachFleetState(db::DatabaseConnection& connection, const std::string& date,
                       const std::function<void(SituationRow&)>& take);

// The same states with only what is counted of them: the chassis as the
// register keys it (its case may differ from the first spelling's), the
// company and the ambit with their names, and the named vehicle fields; the
// other members keep no value of the state.
bool ForEachCountedState(db::DatabaseConnection& connection, const std::string& date,
                         std::span<const std::string_view> vehicleFields,
                         const std::function<void(SituationRow&)>& take);

}  // namespace veltra::comms
