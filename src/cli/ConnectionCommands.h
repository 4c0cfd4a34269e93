#pragma once
// Connecting and disconnecting the associated database from the command line,
// and the confirmation that the desktop's Sconnetti asks as well.

#include "cli/CliContext.h"
#include "ui/Prompter.h"

namespace veltra::cli {

// "Confermi sconnessione database ?": true when the user answered OK.
bool confirmDisconnect(ui::Prompter& prompter);

// connect PATH: opens PATH and, when it opens, makes it the associated database.
int connectCommand(CliContext& context);
// disconnect: after the confirmation (--yes), clears the association.
int disconnectCommand(CliContext& context);

}  // namespace veltra::cli
