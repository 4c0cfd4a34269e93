#pragma once
// stats [--date D] [--compare D2] [--company N] [--by company|ambit]
//       [--pdf FILE] [--csv FILE] [--portrait]: the fleet figures at a date
// (today when none is given) as the "Statistiche Parco" report in a PDF
// file, as CSV for spreadsheets, or as a plain table on standard output.

#include "cli/CliContext.h"

namespace veltra::cli {

int statsCommand(CliContext& context);

}  // namespace veltra::cli
