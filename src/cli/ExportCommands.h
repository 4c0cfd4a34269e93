#pragma once
// export-situations --date DATE --dir DIR: one situation file per company.
// export-fleet --date DATE --out FILE [--company N] [--ambit N] [--active-only]:
//   the fleet as of a day, tab-separated.

#include "cli/CliContext.h"

namespace veltra::cli {

int exportSituationsCommand(CliContext& context);
int exportFleetCommand(CliContext& context);

}  // namespace veltra::cli
