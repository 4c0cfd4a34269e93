#include "cli/CardCommands.h"

#include <ostream>

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "db/DatabaseConnection.h"
#include "reports/VehicleCardText.h"
#include "reports/VehicleHistoryText.h"

namespace veltra::cli {

namespace {

// The text with every CR LF as one line feed, ended by a line feed like every
// other output of the program (the "not available" card has none of its own).
std::string consoleText(const std::string& card) {
  std::string text;
  text.reserve(card.size() + 1);
  for (std::size_t i = 0; i < card.size(); ++i)
    if (!(card[i] == '\r' && i + 1 < card.size() && card[i + 1] == '\n')) text += card[i];
  if (!text.ends_with('\n')) text += '\n';
  return text;
}

int showCard(CliContext& context, const char* name, reports::ComposeCard compose) {
  if (context.args.size() != 1) return context.usageError(std::string(name) + " vuole un CHASSIS");
  auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  context.out << consoleText(compose(*connection, context.args.front()));
  // A read that failed has shown its message; the text may then be incomplete.
  return context.prompter.errorShown() ? ExitFailed : ExitOk;
}

}  // namespace

int cardCommand(CliContext& context) {
  return showCard(context, "card", reports::VehicleCardText);
}

int historyCommand(CliContext& context) {
  return showCard(context, "history", reports::VehicleHistoryText);
}

}  // namespace veltra::cli
