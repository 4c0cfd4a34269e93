#include "cli/ImportCommand.h"

#include <ostream>

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "comms/ImportCommunication.h"
#include "db/DatabaseConnection.h"

namespace veltra::cli {

int importCommand(CliContext& context) {
  if (context.args.size() != 1) return context.usageError("import vuole il file da importare");
  const auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  context.prompter.setNextFile(context.args.front());
  return ExitStatusOf(comms::ImportCommunication(*connection).outcome);
}

}  // namespace veltra::cli
