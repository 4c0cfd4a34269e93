#pragma once
// The tab-separated fleet file that spreadsheets read: six lines that say
// what was chosen and name the columns, then one line per vehicle.

#include <optional>
#include <string>
#include <vector>

#include "comms/FleetExportChoice.h"
#include "comms/FleetLines.h"

namespace veltra::comms {

// Lines 1 to 6 of the file: the criteria, an empty line, the column names.
std::vector<std::string> FleetHeaderLines(const FleetExportChoice& choice);
// The whole file (Windows-1252, CR LF): the header, then the lines the
// choice selects, by company and chassis. None when a text has a character
// Windows-1252 cannot hold.
std::optional<std::string> FleetFileText(const FleetExportChoice& choice, const FleetLines& lines);

}  // namespace veltra::comms
