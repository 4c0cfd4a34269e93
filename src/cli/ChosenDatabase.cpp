#include "cli/ChosenDatabase.h"

#include <ostream>

#include "db/DatabaseConnection.h"
#include "qt/AssociationSettings.h"

namespace veltra::cli {

std::optional<std::string> chosenDatabase(const CliContext& context) {
  if (context.databaseOption) return context.databaseOption;
  auto associated = qt::AssociationSettings().database();
  if (associated && !associated->empty()) return associated;
  return std::nullopt;
}

std::unique_ptr<db::DatabaseConnection> openChosenDatabase(CliContext& context) {
  const auto database = chosenDatabase(context);
  if (!database) {
    context.err << "Nessun database: indicarlo con --db PATH o associarlo con connect PATH\n";
    return nullptr;
  }
  // The connection shows its own box when the file does not open.
  auto connection = std::make_unique<db::DatabaseConnection>(context.prompter, *database);
  if (!connection->IsOpen()) return nullptr;
  return connection;
}

}  // namespace veltra::cli
