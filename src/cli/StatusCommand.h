#pragma once
// status [COMPANY [DATE]]: the companies that communicated, the dates of a
// company's communications, or whether one of them carried vehicles.

#include "cli/CliContext.h"

namespace veltra::cli {

int statusCommand(CliContext& context);

}  // namespace veltra::cli
