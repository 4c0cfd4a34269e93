#pragma once
// The state of every vehicle as of a day: its latest history row dated on or
// before it, with the company and ambit names.

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "comms/FleetLines.h"
#include "comms/SituationRow.h"
#include "db/DatabaseConnection.h"

namespace veltra::comms {

// Makes the fleet file's line of every vehicle's state on date
// ("GG/MM/AAAA"), in chassis order, each vehicle once and under the spelling
// its chassis was first registered with; the engine picks each vehicle's
// row, so only those are read. False when reading failed (the failure was
// shown): the lines may then be incomplete or hold older states.
bool LoadFleetLines(db::DatabaseConnection& connection, const std::string& date, FleetLines& lines);

// The same states handed one at a time, each vehicle once, with only what is
// counted of them: the chassis as the register keys it (its case may differ
// from the first spelling's), the company and the ambit with their names, and
// the named vehicle fields; the other members keep no value of the state.
// Only one state is held at a time, so the memory does not grow with the
// register; take may move from the row. False when reading failed (the
// failure was shown).
bool ForEachCountedState(db::DatabaseConnection& connection, const std::string& date,
                         std::span<const std::string_view> vehicleFields,
                         const std::function<void(SituationRow&)>& take);

}  // namespace veltra::comms
