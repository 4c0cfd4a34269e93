#pragma once
// The fleet situation export ("Esportazione TXT"): the state of every vehicle
// as of a day, that is its latest history row dated on or before it, written
// as one tab-separated line per vehicle for spreadsheets.

#include <string>
#include <vector>

#include "comms/FleetExportChoice.h"
#include "comms/SituationList.h"
#include "db/DatabaseConnection.h"

namespace veltra::comms {

inline constexpr std::string_view NothingToExportMessage =
    "ATTENZIONE: non esiste neppure un mezzo che soddisfi i criteri specificati.\n\n"
    "La generazione del file TXT non può avere luogo";

// Fills list with one row per vehicle: the latest history row dated on or
// before date ("GG/MM/AAAA"), with the company and ambit names. The history
// is read once, in chassis and date order, keeping one row per vehicle.
// False when reading failed (the failure was shown): the list may then be
// incomplete or hold older states.
bool LoadFleetSituation(db::DatabaseConnection& connection, const std::string& date,
                        SituationList& list);

// Lines 1 to 6 of the file: the criteria, an empty line, the column names.
std::vector<std::string> FleetHeaderLines(const FleetExportChoice& choice);
// One vehicle, its 30 fields separated by TABs, without terminator.
std::string FleetDataLine(const SituationRow& row);

enum class FleetExportStatus {
  Empty,      // no vehicle meets the criteria: message, no file asked for
  Cancelled,  // no file chosen
  Failed,     // the history could not be read, or the file could not be written
  Written,
};

// After the dialog was accepted (AcceptFleetExportForm): loads the states,
// asks for the file and writes it. A successful run ends without a message.
FleetExportStatus ExportFleetSituation(db::DatabaseConnection& connection,
                                       const FleetExportChoice& choice);

}  // namespace veltra::comms
