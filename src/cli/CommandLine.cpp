#include "cli/CommandLine.h"

#include <ostream>

#include "cli/CardCommands.h"
#include "cli/CheckCommand.h"
#include "cli/CliContext.h"
#include "cli/CommandLineOptions.h"
#include "cli/ConnectionCommands.h"
#include "cli/ExportCommands.h"
#include "cli/ImportCommand.h"
#include "cli/InstallationCommand.h"
#include "cli/ReportCommand.h"
#include "cli/SchemaCommands.h"
#include "cli/StatsCommand.h"
#include "cli/StatusCommand.h"

namespace veltra::cli {

namespace {

struct CommandEntry {
  const char* name;
  const char* usage;  // the arguments, as the help shows them after the name
  CommandHandler handler;
};

// One line per command; each lives in the file of its subject.
constexpr CommandEntry Commands[] = {
    {"create", "PATH|URI", createCommand},
    {"connect", "PATH|URI", connectCommand},
    {"disconnect", "", disconnectCommand},
    {"import", "FILE [--yes]", importCommand},
    {"export-situations", "--date DATE --dir DIR", exportSituationsCommand},
    {"export-fleet", "--date DATE --out FILE [--company N] [--ambit N] [--active-only]",
     exportFleetCommand},
    {"status", "[COMPANY [DATE]]", statusCommand},
    {"card", "CHASSIS", cardCommand},
    {"history", "CHASSIS", historyCommand},
    // Two lines for one command: the verification has options of its own.
    {"report", "by-company|by-ambit|financing --pdf FILE [--company N] [--ambit N] [--portrait]",
     reportCommand},
    {"report",
     "verification --pdf FILE [--from DATE] [--to DATE] [--mark N[,N...]] [--unmark N[,N...]]"
     " [--portrait]",
     reportCommand},
    {"stats",
     "[--date DATE] [--compare DATE] [--company N] [--by company|ambit] [--pdf FILE]"
     " [--csv FILE] [--portrait]",
     statsCommand},
    {"repair", "PATH", repairCommand},
    {"duplicate", "SOURCE DEST", duplicateCommand},
    {"register-installation", "[DIRECTORY]", registerInstallationCommand},
    {"check", "FILE", checkCommand},
};

const CommandEntry* findCommand(const std::string& name) {
  for (const auto& entry : Commands)
    if (name == entry.name) return &entry;
  return nullptr;
}

std::string commandLines() {
  std::string lines;
  for (const auto& entry : Commands) {
    lines += std::string("  ") + entry.name;
    if (*entry.usage != '\0') lines += std::string(" ") + entry.usage;
    lines += '\n';
  }
  return lines;
}

std::string usageText() {
  return "Uso: veltra-cli [--db PATH|URI] COMANDO ...\n"
         "\n"
         "Comandi:\n" +
         commandLines() +
         "\n"
         "Opzioni:\n"
         "  --db PATH|URI il database da usare (senza, quello associato): un file, o un\n"
         "                database su un server PostgreSQL (postgresql://host/nome)\n"
         "  --yes         risponde OK alle domande di conferma\n"
         "  --help        questo testo\n"
         "  --version     la versione del programma\n"
         "\n"
         "Le date si scrivono GG/MM/AAAA o GG/MM/AA.\n"
         "Stato di uscita: 0 eseguito, 1 rifiutato o con errori, 2 riga di comando errata.\n";
}

}  // namespace

int CliContext::usageError(const std::string& problem) const {
  err << "veltra-cli: " << problem << "\n\n" << usageText();
  return ExitUsage;
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const CommandLineOptions options = parseCommandLineOptions(args);
  if (options.request == CommandLineOptions::Request::Help) {
    out << usageText();
    return ExitOk;
  }
  if (options.request == CommandLineOptions::Request::Version) {
    out << "veltra-cli " << VELTRA_VERSION << '\n';
    return ExitOk;
  }
  ConsolePrompter prompter(out, err, options.yes);
  CliContext context{out, err, prompter, options.database, {}};
  if (options.request == CommandLineOptions::Request::Malformed)
    return context.usageError(options.problem);
  const std::string& name = options.command.front();
  const CommandEntry* command = findCommand(name);
  if (command == nullptr) return context.usageError("comando sconosciuto: " + name);
  context.args.assign(options.command.begin() + 1, options.command.end());
  return command->handler(context);
}

}  // namespace veltra::cli
