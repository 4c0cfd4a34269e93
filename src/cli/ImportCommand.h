#pragma once
// import FILE [--yes]: checks a company communication file and, when the
// question is answered with --yes, applies it to the database.

#include "cli/CliContext.h"

namespace veltra::cli {

int importCommand(CliContext& context);

}  // namespace veltra::cli
