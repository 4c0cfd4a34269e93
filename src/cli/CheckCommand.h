#pragma once
// check FILE: a company's communication checked as the import checks it,
// with what is wrong and where; no database and no settings are opened.

#include "cli/CliContext.h"

namespace veltra::cli {

int checkCommand(CliContext& context);

}  // namespace veltra::cli
