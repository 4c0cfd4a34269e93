#include "cli/ImportCommand.h"

#include <ostream>
#include <string>

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "comms/ImportCommunication.h"
#include "db/DatabaseConnection.h"

namespace veltra::cli {

int importCommand(CliContext& context) {
  if (context.args.empty()) return context.usageError("import vuole il file da importare");
  if (context.args.size() > 1)
    return context.usageError("import importa un file per volta: " +
                              std::to_string(context.args.size()) + " file indicati");
  const auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  context.prompter.setNextFile(context.args.front());
  return ExitStatusOf(comms::ImportCommunication(*connection).outcome);
}

}  // namespace veltra::cli
