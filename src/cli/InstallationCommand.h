#pragma once
// register-installation [DIRECTORY]: what an installer does, through the same
// settings code the programs read: gives the installation its settings key
// with the folder where the first start creates the default database.

#include "cli/CliContext.h"

namespace veltra::cli {

// Without DIRECTORY, the user's data folder. A key that already names a
// folder is left as it is.
int registerInstallationCommand(CliContext& context);

}  // namespace veltra::cli
