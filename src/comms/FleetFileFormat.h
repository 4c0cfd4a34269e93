#pragma once
// The tab-separated fleet file that spreadsheets read: six lines that say
// what was chosen and name the columns, then one line per vehicle.

#include <optional>
#include <string>
#include <vector>

#include "comms/FleetExportChoice.h"
#include "comms/SituationList.h"

namespace veltra::comms {

// Lines 1 to 6 of the file: the criteria, an empty line, the column names.
std::vector<std::string> FleetHeaderLines(const FleetExportChoice& choice);
// One vehicle, its 30 fields separated by TABs, without terminator, into
// line (its old text replaced; its room kept for the next vehicle).
void FleetDataLine(const SituationRow& row, std::string& line);

// Why a row the choice selects fits no line of the file: a text with a TAB,
// CR or LF, or one Windows-1252 cannot hold, named with its vehicle and
// field. None when every row fits.
std::optional<std::string> FleetLineRefusal(const FleetExportChoice& choice,
                                            const SituationList& list);

// The whole file (Windows-1252, CR LF): the header, then the rows the choice
// selects, by company and chassis. Sorts the list. None when a text has a
// character Windows-1252 cannot hold.
std::optional<std::string> FleetFileText(const FleetExportChoice& choice, SituationList& list);

}  // namespace veltra::comms
