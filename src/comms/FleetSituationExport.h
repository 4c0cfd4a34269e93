#pragma once
// The fleet situation export ("Esportazione TXT"): the state of every vehicle
// as of a day, written as one tab-separated line per vehicle for spreadsheets.

#include "comms/FleetExportChoice.h"
#include "db/DatabaseConnection.h"
#include "ui/Outcome.h"

namespace veltra::comms {

inline constexpr std::string_view NothingToExportMessage =
    "ATTENZIONE: non esiste neppure un mezzo che soddisfi i criteri specificati.\n\n"
    "La generazione del file TXT non può avere luogo";

// After the dialog was accepted (AcceptFleetExportForm): loads the states,
// asks for the file and writes it. A successful run ends without a message.
// Cancelled: no file chosen. Failed: no vehicle meets the criteria (no file
// asked for), the history could not be read, or the file not written.
ui::Outcome ExportFleetSituation(db::DatabaseConnection& connection,
                                 const FleetExportChoice& choice);

}  // namespace veltra::comms
