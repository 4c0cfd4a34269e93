#pragma once
// export-situations --date DATE --dir DIR: one situation file per company.
// export-fleet --date DATE --out FILE [--company N] [--ambit N] [--active-only]:
//   the fleet as of a day, tab-separated.
// status [COMPANY [DATE]]: the companies that communicated, the dates of a
//   company's communications, or whether one of them carried vehicles.

#include "cli/CliContext.h"

namespace veltra::cli {

int exportSituationsCommand(CliContext& context);
int exportFleetCommand(CliContext& context);
int statusCommand(CliContext& context);

}  // namespace veltra::cli
