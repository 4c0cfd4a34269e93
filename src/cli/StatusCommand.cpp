#include "cli/StatusCommand.h"

#include <ostream>

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "comms/CodeChoice.h"
#include "comms/CommunicationsStatus.h"
#include "db/DatabaseConnection.h"

namespace veltra::cli {

namespace {

void printLines(CliContext& context, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) context.out << line << '\n';
}

std::vector<std::string> itemTexts(const std::vector<comms::CodeItem>& items) {
  std::vector<std::string> texts;
  for (const auto& item : items) texts.push_back(item.text);
  return texts;
}

int showVerdict(CliContext& context, db::DatabaseConnection& connection, std::int32_t azienda,
                const std::vector<std::string>& dates, const std::string& typedDate) {
  const auto date = comms::AcceptCommunicationDate(typedDate, azienda, dates, context.prompter);
  if (!date) return ExitFailed;
  return comms::ShowCommunicationVerdict(connection, azienda, *date) ? ExitOk : ExitFailed;
}

}  // namespace

int statusCommand(CliContext& context) {
  if (context.args.size() > 2) return context.usageError("status vuole al più COMPANY e DATE");
  auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  // The dates listed are those of the companies listed, whatever is imported meanwhile.
  db::ReadSnapshot snapshot(*connection);
  // A read that failed was shown; the lists printed may then lack lines.
  bool readFailed = false;
  const auto companies = comms::CommunicatingCompanies(*connection, &readFailed);
  if (context.args.empty()) {
    printLines(context, itemTexts(companies));
    return readFailed ? ExitFailed : ExitOk;
  }
  if (readFailed) return ExitFailed;
  const auto azienda = comms::AcceptCodeChoice(false, context.args[0], companies,
                                               comms::InvalidCompanyMessage, context.prompter);
  if (!azienda) return ExitFailed;
  const auto dates = comms::CommunicationDates(*connection, *azienda, &readFailed);
  if (context.args.size() == 1) {
    printLines(context, dates);
    return readFailed ? ExitFailed : ExitOk;
  }
  if (readFailed) return ExitFailed;
  return showVerdict(context, *connection, *azienda, dates, context.args[1]);
}

}  // namespace veltra::cli
