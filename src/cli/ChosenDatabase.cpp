#include "cli/ChosenDatabase.h"

#include <ostream>

#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"
#include "qt/AssociationSettings.h"

namespace veltra::cli {

std::optional<std::string> chosenDatabase(const CliContext& context) {
  if (context.databaseOption) return context.databaseOption;
  auto associated = qt::AssociationSettings().database();
  if (associated && !associated->empty()) return associated;
  return std::nullopt;
}

bool refusedForPassword(CliContext& context, const std::string& locator) {
  if (!db::engine::EngineDatabase::carriesPassword(locator)) return false;
  context.err << "L'indirizzo del database contiene una password: la password va scritta in "
                 "~/.pgpass, in un file di servizio o nella variabile PGPASSWORD, mai "
                 "nell'indirizzo.\n";
  return true;
}

std::unique_ptr<db::DatabaseConnection> openChosenDatabase(CliContext& context) {
  const auto database = chosenDatabase(context);
  if (!database) {
    context.err << "Nessun database: indicarlo con --db PATH o associarlo con connect PATH\n";
    return nullptr;
  }
  if (refusedForPassword(context, *database)) return nullptr;
  // The connection shows its own box when the file does not open.
  auto connection = std::make_unique<db::DatabaseConnection>(context.prompter, *database);
  if (!connection->IsOpen()) return nullptr;
  return connection;
}

}  // namespace veltra::cli
