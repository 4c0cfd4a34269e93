#include "cli/CheckCommand.h"

#include "cli/CommandLine.h"
#include "comms/CompanyFileCheck.h"

namespace veltra::cli {

int checkCommand(CliContext& context) {
  if (context.args.size() != 1) return context.usageError("check vuole il file da controllare");
  return ExitStatusOf(comms::CheckCompanyFile(context.args.front(), context.prompter));
}

}  // namespace veltra::cli
