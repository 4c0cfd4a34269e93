#pragma once
// The history card (dialog 118, "Scheda Storica Mezzo"): the states of one
// vehicle recorded in storia, oldest communication first, one block per
// communication that shows only the values changed since the block before.
// One text whose lines end with CR LF.

#include <string>
#include <string_view>

#include "db/DatabaseConnection.h"

namespace veltra::reports {

// The select list of the history: the communication date, the company and
// ambit names, then the card items of storia (27 columns).
std::string HistorySelectList();

// The history of the vehicle whose chassis is chassisKey; only its "Telaio: "
// line when storia holds none of its rows (or only rows whose company or
// ambit has no name).
std::string VehicleHistoryText(db::DatabaseConnection& connection, std::string_view chassisKey);

}  // namespace veltra::reports
