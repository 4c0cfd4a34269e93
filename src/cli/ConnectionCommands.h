#pragma once
// Connecting and disconnecting the associated database from the command line.

#include "cli/CliContext.h"

namespace veltra::cli {

// connect PATH: opens PATH and, when it opens, makes it the associated database.
int connectCommand(CliContext& context);
// disconnect: after the confirmation (--yes), clears the association.
int disconnectCommand(CliContext& context);

}  // namespace veltra::cli
