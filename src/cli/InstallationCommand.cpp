#include "cli/InstallationCommand.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/CommandLine.h"
#include "cli/FullPath.h"
#include "qt/AssociationSettings.h"
#include "schema/DefaultDatabase.h"

namespace veltra::cli {

int registerInstallationCommand(CliContext& context) {
  if (context.args.size() > 1)
    return context.usageError("register-installation vuole al più una cartella");
  qt::AssociationSettings settings;
  // Run again, as every start of scripts/run does, it keeps the folder where
  // the default database may already be.
  if (settings.directory()) return ExitOk;
  const std::string directory =
      context.args.empty() ? schema::UserDataDirectory() : fullPath(context.args.front());
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) {
    context.err << "Impossibile creare la cartella " << directory << '\n';
    return ExitFailed;
  }
  if (!settings.saveDirectory(directory)) {
    context.err << "Impossibile registrare l'installazione in " << settings.location().toStdString()
                << '\n';
    return ExitFailed;
  }
  context.out << "Installazione registrata: " << directory << '\n';
  return ExitOk;
}

}  // namespace veltra::cli
