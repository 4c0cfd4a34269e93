#include "cli/ReportCommand.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ChosenDatabase.h"
#include "cli/CommandLine.h"
#include "cli/CommandOptions.h"
#include "comms/DateInput.h"
#include "db/DatabaseConnection.h"
#include "qt/PdfReport.h"
#include "reports/CommunicationsCheckReport.h"
#include "reports/FinancingListReport.h"
#include "reports/VehicleListReport.h"

namespace veltra::cli {

namespace {

using ReportPointer = std::unique_ptr<reports::PrintReport>;

// The report chosen by the options, with its rows loaded; none after the
// message that says why not.
using PrepareReport = ReportPointer (*)(CliContext& context, const CommandOptions& options,
                                        db::DatabaseConnection& connection);

struct ReportKind {
  const char* name;
  std::set<std::string> options;   // valued options besides --pdf
  std::set<std::string> required;  // those of them that must be given
  PrepareReport prepare;
};

// The selection dialog's "OK" with the options in its controls' place.
std::optional<reports::VehicleListChoice> vehicleListChoice(CliContext& context,
                                                            const CommandOptions& options,
                                                            db::DatabaseConnection& connection) {
  reports::VehicleListForm form;
  form.allCompanies = !options.has("--company");
  form.companyText = form.allCompanies ? "" : options.value("--company");
  form.allAmbits = !options.has("--ambit");
  form.ambitText = form.allAmbits ? "" : options.value("--ambit");
  // The lists are read only when a code must be found in them.
  const auto companies = form.allCompanies ? std::vector<comms::CodeItem>{}
                                           : reports::VehicleListCompanyItems(connection);
  const auto ambits =
      form.allAmbits ? std::vector<comms::CodeItem>{} : reports::VehicleListAmbitItems(connection);
  return reports::AcceptVehicleListForm(form, companies, ambits, context.prompter);
}

template <class Report>
ReportPointer loaded(CliContext& context, std::unique_ptr<Report> report,
                     db::DatabaseConnection& connection) {
  if (!report->load(connection, context.prompter)) return nullptr;
  return report;
}

template <reports::VehicleListOrder Order>
ReportPointer prepareVehicleList(CliContext& context, const CommandOptions& options,
                                 db::DatabaseConnection& connection) {
  const auto choice = vehicleListChoice(context, options, connection);
  if (!choice) return nullptr;
  return loaded(context, std::make_unique<reports::VehicleListReport>(Order, *choice), connection);
}

ReportPointer prepareFinancingList(CliContext& context, const CommandOptions& options,
                                   db::DatabaseConnection& connection) {
  const auto choice = vehicleListChoice(context, options, connection);
  if (!choice) return nullptr;
  return loaded(context, std::make_unique<reports::FinancingListReport>(*choice), connection);
}

// The codes given with the option; none after the refusal of one of them.
std::optional<std::vector<std::int32_t>> listedCompanies(
    CliContext& context, const CommandOptions& options, const std::string& option,
    const std::vector<reports::CompanyMark>& companies) {
  if (!options.has(option)) return std::vector<std::int32_t>{};
  return reports::AcceptCompanyCodes(options.value(option), companies, context.prompter);
}

std::optional<std::string_view> optionalValue(const CommandOptions& options,
                                              const std::string& name) {
  if (!options.has(name)) return std::nullopt;
  return options.value(name);
}

// The marks the dialog's clicks would leave, stored before the report reads
// them; nothing is stored when a period or a code is refused. The period
// left out is the dialog's: from the first of this month to today.
ReportPointer prepareVerification(CliContext& context, const CommandOptions& options,
                                  db::DatabaseConnection& connection) {
  const auto period = reports::AcceptCheckPeriodOrDefault(optionalValue(options, "--from"),
                                                          optionalValue(options, "--to"),
                                                          comms::TodayDateText(), context.prompter);
  if (!period) return nullptr;
  const auto companies = reports::CompanyMarks(connection);
  const auto marked = listedCompanies(context, options, "--mark", companies);
  if (!marked) return nullptr;
  const auto unmarked = listedCompanies(context, options, "--unmark", companies);
  if (!unmarked) return nullptr;
  reports::SetCompanyMarks(connection, *marked, true);
  reports::SetCompanyMarks(connection, *unmarked, false);
  return loaded(context, std::make_unique<reports::CommunicationsCheckReport>(*period), connection);
}

const ReportKind Kinds[] = {
    {"by-company",
     {"--company", "--ambit"},
     {},
     prepareVehicleList<reports::VehicleListOrder::ByCompany>},
    {"by-ambit",
     {"--company", "--ambit"},
     {},
     prepareVehicleList<reports::VehicleListOrder::ByAmbit>},
    {"financing", {"--company", "--ambit"}, {}, prepareFinancingList},
    {"verification", {"--from", "--to", "--mark", "--unmark"}, {}, prepareVerification},
};

const ReportKind* findKind(const std::string& name) {
  for (const ReportKind& kind : Kinds)
    if (name == kind.name) return &kind;
  return nullptr;
}

// Qt's notes to developers (a missing runtime folder, say) are no message of
// this program: a script reading its standard error sees only those.
void keepQtNotesQuiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

// Fonts and the PDF writer need a GUI application; without a display it
// runs on the offscreen platform. Windows always has its desktop, and its
// own platform is the only one shipped there.
std::unique_ptr<QGuiApplication> guiApplication() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
#ifndef _WIN32
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  qInstallMessageHandler(keepQtNotesQuiet);
  static int argc = 1;
  static char name[] = "veltra-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

int writePdf(CliContext& context, reports::PrintReport& report, const std::string& path,
             bool portrait) {
  const auto application = guiApplication();
  const auto paper = portrait ? qt::PdfPaper::A4Portrait : qt::PdfPaper::A4Landscape;
  return qt::WritePdfReport(report, path, paper, context.prompter) ? ExitOk : ExitFailed;
}

}  // namespace

int reportCommand(CliContext& context) {
  if (context.args.empty()) return context.usageError("manca il tipo di stampa");
  const ReportKind* kind = findKind(context.args.front());
  if (kind == nullptr) return context.usageError("stampa sconosciuta: " + context.args.front());
  CliContext own = context;
  own.args.erase(own.args.begin());
  std::set<std::string> valued = kind->options;
  valued.insert("--pdf");
  std::set<std::string> required = kind->required;
  required.insert("--pdf");
  int status = ExitOk;
  const auto options = parseCommandOptions(own, valued, {"--portrait"}, required, status);
  if (!options) return status;
  auto connection = openChosenDatabase(context);
  if (!connection) return ExitFailed;
  const ReportPointer report = kind->prepare(context, *options, *connection);
  if (!report || !reports::HasRowsToPrint(*report, context.prompter)) return ExitFailed;
  return writePdf(context, *report, options->value("--pdf"), options->isSet("--portrait"));
}

}  // namespace veltra::cli
