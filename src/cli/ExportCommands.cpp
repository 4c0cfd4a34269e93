#include "cli/ExportCommands.h"

#include <filesystem>
#include <system_error>

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "cli/CommandOptions.h"
#include "comms/CompanySituationExport.h"
#include "comms/DateInput.h"
#include "comms/FleetExportChoice.h"
#include "comms/FleetSituationExport.h"
#include "db/DatabaseConnection.h"

namespace veltra::cli {

namespace {

bool isFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace

int exportSituationsCommand(CliContext& context) {
  int status = ExitOk;
  const auto options =
      parseCommandOptions(context, {"--date", "--dir"}, {}, {"--date", "--dir"}, status);
  if (!options) return status;
  const auto date = comms::AcceptInputDate(options->value("--date"), context.prompter);
  if (!date) return ExitFailed;
  const std::string& folder = options->value("--dir");
  if (!isFolder(folder)) {
    context.prompter.message("La cartella non esiste\n\n" + folder, ui::Icon::Exclamation);
    return ExitFailed;
  }
  auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  // The folder is answered as a file in it, as the save dialog would.
  context.prompter.setNextFile((std::filesystem::path(folder) / "ComunicazioneBus.TXT").string());
  return ExitStatusOf(comms::ExportCompanySituations(*connection, *date));
}

int exportFleetCommand(CliContext& context) {
  int status = ExitOk;
  const auto options = parseCommandOptions(context, {"--date", "--out", "--company", "--ambit"},
                                           {"--active-only"}, {"--date", "--out"}, status);
  if (!options) return status;
  auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  comms::FleetExportForm form;
  form.allCompanies = !options->has("--company");
  form.companyText = form.allCompanies ? "" : options->value("--company");
  form.allAmbits = !options->has("--ambit");
  form.ambitText = form.allAmbits ? "" : options->value("--ambit");
  form.activeOnly = options->isSet("--active-only");
  form.dateText = options->value("--date");
  // The lists are read only when a code must be found in them.
  const auto companies =
      form.allCompanies ? std::vector<comms::CodeItem>{} : comms::FleetCompanyItems(*connection);
  const auto ambits =
      form.allAmbits ? std::vector<comms::CodeItem>{} : comms::FleetAmbitItems(*connection);
  const auto choice = comms::AcceptFleetExportForm(form, companies, ambits, context.prompter);
  if (!choice) return ExitFailed;
  context.prompter.setNextFile(options->value("--out"));
  return ExitStatusOf(comms::ExportFleetSituation(*connection, *choice));
}

}  // namespace veltra::cli
