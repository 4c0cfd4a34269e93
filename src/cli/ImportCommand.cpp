#include "cli/ImportCommand.h"

#include <ostream>

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "comms/ImportCommunication.h"
#include "db/DatabaseConnection.h"

namespace veltra::cli {

namespace {

int exitStatusOf(comms::ImportStatus status) {
  switch (status) {
    case comms::ImportStatus::Applied:
    case comms::ImportStatus::Declined:  // without --yes the file was only checked
      return ExitOk;
    default:
      return ExitFailed;
  }
}

}  // namespace

int importCommand(CliContext& context) {
  if (context.args.size() != 1) return context.usageError("import vuole il file da importare");
  const auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  context.prompter.setNextFile(context.args.front());
  return exitStatusOf(comms::ImportCommunication(*connection).status);
}

}  // namespace veltra::cli
