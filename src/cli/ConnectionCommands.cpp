#include "cli/ConnectionCommands.h"

#include <ostream>

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "cli/FullPath.h"
#include "db/DatabaseConnection.h"
#include "qt/AssociationSettings.h"
#include "schema/Association.h"

namespace veltra::cli {

namespace {

using qt::AssociationSettings;

void reportUnsaved(CliContext& context, const AssociationSettings& settings) {
  context.err << "Impossibile salvare l'associazione del database in "
              << settings.databaseLocation().toStdString() << '\n';
}

}  // namespace

int connectCommand(CliContext& context) {
  if (context.args.size() != 1) return context.usageError("connect vuole il percorso del database");
  if (refusedForPassword(context, context.args.front())) return ExitFailed;
  const std::string path = fullLocator(context.args.front());
  {
    // The connection shows its own box when the file does not open.
    db::DatabaseConnection connection(context.prompter, path);
    if (!connection.IsOpen()) return ExitFailed;
  }
  AssociationSettings settings;
  // An explicit request to associate a file creates the key when the
  // installation never did, unlike the desktop's silent save at exit.
  if (!settings.saveDatabase(path, /*createKey=*/true)) {
    reportUnsaved(context, settings);
    return ExitFailed;
  }
  context.out << "Database associato: " << path << '\n';
  return ExitOk;
}

int disconnectCommand(CliContext& context) {
  if (!context.args.empty()) return context.usageError("disconnect non vuole argomenti");
  if (!schema::confirmDisconnect(context.prompter)) return ExitFailed;
  AssociationSettings settings;
  // Without the key nothing is associated, so there is nothing to clear.
  if (settings.keyExists() && !settings.saveDatabase("")) {
    reportUnsaved(context, settings);
    return ExitFailed;
  }
  context.out << "Nessun database associato.\n";
  return ExitOk;
}

}  // namespace veltra::cli
