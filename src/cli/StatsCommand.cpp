#include "cli/StatsCommand.h"

#include <ostream>

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "cli/CommandOptions.h"
#include "cli/ReportCommand.h"
#include "comms/DateInput.h"
#include "comms/ExportFile.h"
#include "comms/FleetExportChoice.h"
#include "reports/FleetStatisticsReport.h"

namespace veltra::cli {

namespace {

// The dialog's controls as the options fill them.
comms::FleetStatisticsForm statisticsForm(const CommandOptions& options) {
  comms::FleetStatisticsForm form;
  form.dateText = options.has("--date") ? options.value("--date") : comms::TodayDateText();
  form.compare = options.has("--compare");
  form.compareText = form.compare ? options.value("--compare") : "";
  form.allCompanies = !options.has("--company");
  form.companyText = form.allCompanies ? "" : options.value("--company");
  form.grouping = options.has("--by") && options.value("--by") == "ambit"
                      ? comms::FleetGrouping::Ambit
                      : comms::FleetGrouping::Company;
  return form;
}

bool writeCsv(CliContext& context, const reports::FleetStatisticsReport& report,
              const std::string& path) {
  comms::ExportFiles file(context.prompter, reports::FleetStatisticsTitle);
  return file.stage(path, comms::FigureTablesCsv(report.tables())) && file.publish();
}

}  // namespace

int statsCommand(CliContext& context) {
  int status = ExitOk;
  const auto options =
      parseCommandOptions(context, {"--date", "--compare", "--company", "--by", "--pdf", "--csv"},
                          {"--portrait"}, {}, status);
  if (!options) return status;
  if (options->has("--by") && options->value("--by") != "company" &&
      options->value("--by") != "ambit")
    return context.usageError("raggruppamento sconosciuto: " + options->value("--by"));
  auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  const comms::FleetStatisticsForm form = statisticsForm(*options);
  const auto companies =
      form.allCompanies ? std::vector<comms::CodeItem>{} : comms::FleetCompanyItems(*connection);
  const auto choice = comms::AcceptFleetStatisticsForm(form, companies, context.prompter);
  if (!choice) return ExitFailed;
  reports::FleetStatisticsReport report(*choice);
  if (!report.load(*connection, context.prompter) ||
      !reports::HasRowsToPrint(report, context.prompter))
    return ExitFailed;
  if (options->has("--csv") && !writeCsv(context, report, options->value("--csv")))
    return ExitFailed;
  if (options->has("--pdf"))
    return writeReportPdf(context, report, options->value("--pdf"), options->isSet("--portrait"));
  if (!options->has("--csv")) context.out << comms::FigureTablesText(report.tables());
  return ExitOk;
}

}  // namespace veltra::cli
