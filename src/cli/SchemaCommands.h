#pragma once
// Creating, repairing and duplicating database files from the command line,
// through the same commands as the desktop's Database menu.

#include "cli/CliContext.h"

namespace veltra::cli {

// create PATH: a new, complete database at PATH.
int createCommand(CliContext& context);
// repair PATH: repairs the file in place; silent when all went well.
int repairCommand(CliContext& context);
// duplicate SOURCE DEST: a compacted copy of SOURCE in the new file DEST.
int duplicateCommand(CliContext& context);

}  // namespace veltra::cli
