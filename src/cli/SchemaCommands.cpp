#include "cli/SchemaCommands.h"

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "schema/DatabaseCreation.h"
#include "schema/DatabaseMaintenance.h"

namespace veltra::cli {

// The paths are the answers to the file dialogs the commands ask.

int createCommand(CliContext& context) {
  if (context.args.size() != 1)
    return context.usageError("create vuole il percorso del nuovo database");
  if (refusedForPassword(context, context.args[0])) return ExitFailed;
  context.prompter.setNextFile(context.args[0]);
  return ExitStatusOf(schema::CreateDatabaseCommand(context.prompter).outcome);
}

int repairCommand(CliContext& context) {
  if (context.args.size() != 1) return context.usageError("repair vuole il percorso del database");
  if (refusedForPassword(context, context.args[0])) return ExitFailed;
  context.prompter.setNextFile(context.args[0]);
  return ExitStatusOf(schema::RepairDatabaseCommand(context.prompter));
}

int duplicateCommand(CliContext& context) {
  if (context.args.size() != 2)
    return context.usageError("duplicate vuole il database di origine e quello di destinazione");
  if (refusedForPassword(context, context.args[0])) return ExitFailed;
  context.prompter.setNextFile(context.args[0]);
  context.prompter.queueNextFile(context.args[1]);
  return ExitStatusOf(schema::DuplicateDatabaseCommand(context.prompter));
}

}  // namespace veltra::cli
