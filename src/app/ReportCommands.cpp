#include "app/ReportCommands.h"

#include <functional>
#include <memory>

#include "app/CommunicationsCheckDialog.h"
#include "app/FleetStatisticsDialog.h"
#include "app/MainWindow.h"
#include "app/StampaVista.h"
#include "app/VehicleListDialog.h"
#include "reports/CommunicationsCheckReport.h"
#include "reports/FinancingListReport.h"
#include "reports/FleetStatisticsReport.h"
#include "reports/VehicleListReport.h"

namespace veltra::app {

namespace {

// What follows an accepted selection dialog: the report shown, or the reason
// it is not. loadRows is false when reading the rows failed (already shown).
void runReport(MainWindow& window, std::unique_ptr<reports::PrintReport> report,
               const std::function<bool()>& loadRows, bool preview) {
  ui::Prompter& prompter = window.prompter();
  auto* view = new StampaVista(QString::fromStdString(report->title()), prompter);
  window.showReportWindow(view);
  if (!loadRows() || !reports::HasRowsToPrint(*report, prompter)) {
    window.closeReportWindow();
    return;
  }
  if (!view->attach(std::move(report))) {
    prompter.message("E' impossibile associare la stampa !!!\n", ui::Icon::Information);
    return;
  }
  window.setWindowTitle(view->title());
  if (preview)
    view->startPreview();
  else
    view->print();
}

// The report made from the dialog's choice, then loaded over the connection.
template <class Report>
void runLoadedReport(MainWindow& window, db::DatabaseConnection& connection,
                     std::unique_ptr<Report> report, bool preview) {
  Report& loaded = *report;
  runReport(
      window, std::move(report), [&] { return loaded.load(connection, window.prompter()); },
      preview);
}

// The lists share their selection dialog; makeReport builds the one chosen.
template <class MakeReport>
void vehicleListCommand(MainWindow& window, reports::VehicleListDialog use,
                        const MakeReport& makeReport) {
  db::DatabaseConnection* connection = window.connection();
  if (connection == nullptr) return;
  VehicleListDialog dialog(use, *connection, window.prompter(), &window);
  if (dialog.exec() != QDialog::Accepted) return;
  runLoadedReport(window, *connection, makeReport(dialog.choice()), dialog.choice().preview);
}

template <reports::VehicleListOrder Order>
std::unique_ptr<reports::VehicleListReport> vehicleList(const reports::VehicleListChoice& choice) {
  return std::make_unique<reports::VehicleListReport>(Order, choice);
}

}  // namespace

void vehicleListByCompanyCommand(MainWindow& window) {
  vehicleListCommand(window, reports::VehicleListDialog::ByCompany,
                     vehicleList<reports::VehicleListOrder::ByCompany>);
}

void vehicleListByAmbitCommand(MainWindow& window) {
  vehicleListCommand(window, reports::VehicleListDialog::ByAmbit,
                     vehicleList<reports::VehicleListOrder::ByAmbit>);
}

void financingListCommand(MainWindow& window) {
  vehicleListCommand(window, reports::VehicleListDialog::Financing,
                     [](const reports::VehicleListChoice& choice) {
                       return std::make_unique<reports::FinancingListReport>(choice);
                     });
}

void verificationCommand(MainWindow& window) {
  db::DatabaseConnection* connection = window.connection();
  if (connection == nullptr) return;
  CommunicationsCheckDialog dialog(*connection, window.prompter(), &window);
  if (dialog.exec() != QDialog::Accepted) return;
  runLoadedReport(window, *connection,
                  std::make_unique<reports::CommunicationsCheckReport>(dialog.period()),
                  dialog.previewChosen());
}

void fleetStatisticsCommand(MainWindow& window) {
  db::DatabaseConnection* connection = window.connection();
  if (connection == nullptr) return;
  FleetStatisticsDialog dialog(*connection, &window);
  if (dialog.exec() != QDialog::Accepted) return;
  runLoadedReport(window, *connection,
                  std::make_unique<reports::FleetStatisticsReport>(dialog.choice()),
                  dialog.previewChosen());
}

}  // namespace veltra::app
