#include "cli/ExportCommands.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <system_error>

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "comms/CommunicationsStatus.h"
#include "comms/CompanySituationExport.h"
#include "comms/DateInput.h"
#include "comms/FleetExportChoice.h"
#include "comms/FleetSituationExport.h"
#include "db/DatabaseConnection.h"

namespace veltra::cli {

namespace {

// "--name value" options and "--name" switches, each at most once.
struct Options {
  std::map<std::string, std::string> values;
  std::set<std::string> switches;

  bool has(const std::string& name) const { return values.count(name) > 0; }
  const std::string& value(const std::string& name) const { return values.at(name); }
};

// None, after the usage error, when an argument is not among the allowed ones,
// comes twice, lacks its value, or a required option is missing.
std::optional<Options> parseOptions(CliContext& context, const std::set<std::string>& valued,
                                    const std::set<std::string>& switches,
                                    const std::set<std::string>& required, int& status) {
  Options options;
  const auto& args = context.args;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool repeated = options.has(arg) || options.switches.count(arg) > 0;
    if (switches.count(arg) > 0 && !repeated) {
      options.switches.insert(arg);
    } else if (valued.count(arg) > 0 && !repeated && i + 1 < args.size()) {
      options.values[arg] = args[++i];
    } else {
      status = context.usageError("argomento non valido: " + arg);
      return std::nullopt;
    }
  }
  for (const std::string& name : required) {
    if (!options.has(name)) {
      status = context.usageError("manca l'opzione " + name);
      return std::nullopt;
    }
  }
  return options;
}

// The console Prompter seen as the port, whose message has the default arguments.
ui::Prompter& userPort(CliContext& context) {
  return context.prompter;
}

bool isFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

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
  const auto date = comms::AcceptInputDate(typedDate, context.prompter);
  if (!date) return ExitFailed;
  if (std::find(dates.begin(), dates.end(), *date) == dates.end()) {
    userPort(context).message(
        "Nessuna comunicazione dell'Azienda=" + std::to_string(azienda) + " in data " + *date,
        ui::Icon::Stop);
    return ExitFailed;
  }
  comms::ShowCommunicationVerdict(connection, azienda, *date);
  return ExitOk;
}

}  // namespace

int exportSituationsCommand(CliContext& context) {
  int status = ExitOk;
  const auto options = parseOptions(context, {"--date", "--dir"}, {}, {"--date", "--dir"}, status);
  if (!options) return status;
  const auto date = comms::AcceptInputDate(options->value("--date"), context.prompter);
  if (!date) return ExitFailed;
  const std::string& folder = options->value("--dir");
  if (!isFolder(folder)) {
    userPort(context).message("La cartella non esiste\n\n" + folder, ui::Icon::Exclamation);
    return ExitFailed;
  }
  auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  // The folder is answered as a file in it, as the save dialog would.
  context.prompter.setNextFile((std::filesystem::path(folder) / "ComunicazioneBus.TXT").string());
  return comms::ExportCompanySituations(*connection, *date) == comms::SituationExportStatus::Written
             ? ExitOk
             : ExitFailed;
}

int exportFleetCommand(CliContext& context) {
  int status = ExitOk;
  const auto options = parseOptions(context, {"--date", "--out", "--company", "--ambit"},
                                    {"--active-only"}, {"--date", "--out"}, status);
  if (!options) return status;
  auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  comms::FleetExportForm form;
  form.allCompanies = !options->has("--company");
  form.companyText = form.allCompanies ? "" : options->value("--company");
  form.allAmbits = !options->has("--ambit");
  form.ambitText = form.allAmbits ? "" : options->value("--ambit");
  form.activeOnly = options->switches.count("--active-only") > 0;
  form.dateText = options->value("--date");
  // The lists are read only when a code must be found in them.
  const auto companies =
      form.allCompanies ? std::vector<comms::CodeItem>{} : comms::FleetCompanyItems(*connection);
  const auto ambits =
      form.allAmbits ? std::vector<comms::CodeItem>{} : comms::FleetAmbitItems(*connection);
  const auto choice = comms::AcceptFleetExportForm(form, companies, ambits, context.prompter);
  if (!choice) return ExitFailed;
  context.prompter.setNextFile(options->value("--out"));
  return comms::ExportFleetSituation(*connection, *choice) == comms::FleetExportStatus::Written
             ? ExitOk
             : ExitFailed;
}

int statusCommand(CliContext& context) {
  if (context.args.size() > 2) return context.usageError("status vuole al più COMPANY e DATE");
  auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  const auto companies = comms::CommunicatingCompanies(*connection);
  if (context.args.empty()) {
    printLines(context, itemTexts(companies));
    return ExitOk;
  }
  const auto azienda = comms::TypedCode(context.args[0], companies);
  if (!azienda) {
    userPort(context).message(comms::InvalidCompanyMessage, ui::Icon::Stop);
    return ExitFailed;
  }
  const auto dates = comms::CommunicationDates(*connection, *azienda);
  if (context.args.size() == 1) {
    printLines(context, dates);
    return ExitOk;
  }
  return showVerdict(context, *connection, *azienda, dates, context.args[1]);
}

}  // namespace veltra::cli
