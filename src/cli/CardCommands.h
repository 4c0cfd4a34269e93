#pragma once
// card CHASSIS: the vehicle card of one vehicle of bus.
// history CHASSIS: the history card of one vehicle.
// Both write the card's text with line feeds instead of CR LF on standard output.

#include "cli/CliContext.h"

namespace veltra::cli {

int cardCommand(CliContext& context);
int historyCommand(CliContext& context);

}  // namespace veltra::cli
