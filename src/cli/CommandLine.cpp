#include "cli/CommandLine.h"

#include <ostream>

#include "cli/CliContext.h"
#include "cli/ConnectionCommands.h"
#include "cli/ExportCommands.h"
#include "cli/ImportCommand.h"
#include "cli/SchemaCommands.h"

namespace veltra::cli {

namespace {

struct CommandEntry {
  const char* name;
  CommandHandler handler;
};

// One line per command; each lives in the file of its subject.
constexpr CommandEntry Commands[] = {
    {"create", createCommand},
    {"connect", connectCommand},
    {"disconnect", disconnectCommand},
    {"import", importCommand},
    {"export-situations", exportSituationsCommand},
    {"export-fleet", exportFleetCommand},
    {"status", statusCommand},
    {"repair", repairCommand},
    {"duplicate", duplicateCommand},
};

const CommandEntry* findCommand(const std::string& name) {
  for (const auto& entry : Commands)
    if (name == entry.name) return &entry;
  return nullptr;
}

}  // namespace

std::string usageText() {
  return "Uso: veltra-cli [--db PATH] COMANDO ...\n"
         "\n"
         "Comandi:\n"
         "  create PATH\n"
         "  connect PATH\n"
         "  disconnect\n"
         "  import FILE [--yes]\n"
         "  export-situations --date DATE --dir DIR\n"
         "  export-fleet --date DATE --out FILE [--company N] [--ambit N] [--active-only]\n"
         "  status [COMPANY [DATE]]\n"
         "  card CHASSIS\n"
         "  history CHASSIS\n"
         "  report by-company|by-ambit|financing --pdf FILE [--company N] [--ambit N]\n"
         "  report verification --pdf FILE --from DATE --to DATE [--mark N[,N...]]\n"
         "  repair PATH\n"
         "  duplicate SOURCE DEST\n"
         "\n"
         "Opzioni:\n"
         "  --db PATH     il database da usare (senza, quello associato)\n"
         "  --yes         risponde OK alle domande di conferma\n"
         "  --help        questo testo\n"
         "  --version     la versione del programma\n"
         "\n"
         "Le date si scrivono GG/MM/AAAA o GG/MM/AA.\n"
         "Stato di uscita: 0 eseguito, 1 rifiutato o con errori, 2 riga di comando errata.\n";
}

int CliContext::usageError(const std::string& problem) const {
  err << "veltra-cli: " << problem << "\n\n" << usageText();
  return ExitUsage;
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<std::string> database;
  bool yes = false;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      out << usageText();
      return ExitOk;
    }
    if (arg == "--version") {
      out << "veltra-cli " << VELTRA_VERSION << '\n';
      return ExitOk;
    }
    if (arg == "--yes") {
      yes = true;
    } else if (arg == "--db") {
      if (i + 1 >= args.size()) {
        err << "veltra-cli: --db vuole un percorso\n\n" << usageText();
        return ExitUsage;
      }
      database = args[++i];
    } else {
      rest.push_back(arg);
    }
  }
  ConsolePrompter prompter(out, err, yes);
  CliContext context{out, err, prompter, database, yes, {}};
  if (rest.empty()) return context.usageError("manca il comando");
  const CommandEntry* command = findCommand(rest.front());
  if (command == nullptr) return context.usageError("comando sconosciuto: " + rest.front());
  context.args.assign(rest.begin() + 1, rest.end());
  return command->handler(context);
}

}  // namespace veltra::cli
