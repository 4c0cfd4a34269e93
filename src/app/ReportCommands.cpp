#include "app/ReportCommands.h"

#include "app/MainWindow.h"
#include "app/StampaVista.h"
#include "app/VehicleListDialog.h"
#include "reports/VehicleListReport.h"

namespace veltra::app {

namespace {

void vehicleListCommand(MainWindow& window, reports::VehicleListOrder order,
                        reports::VehicleListDialog use) {
  db::DatabaseConnection* connection = window.connection();
  if (connection == nullptr) return;
  VehicleListDialog dialog(use, *connection, window.prompter(), &window);
  if (dialog.exec() != QDialog::Accepted) return;
  auto report = std::make_unique<reports::VehicleListReport>(order, dialog.choice());
  reports::VehicleListReport& list = *report;
  runReport(
      window, std::move(report), [&] { return list.load(*connection, window.prompter()); },
      dialog.choice().preview);
}

}  // namespace

void runReport(MainWindow& window, std::unique_ptr<reports::PrintReport> report,
               const RowLoader& loadRows, bool preview) {
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
  if (preview)
    view->startPreview();
  else
    view->print();
}

void vehicleListByCompanyCommand(MainWindow& window) {
  vehicleListCommand(window, reports::VehicleListOrder::ByCompany,
                     reports::VehicleListDialog::ByCompany);
}

void vehicleListByAmbitCommand(MainWindow& window) {
  vehicleListCommand(window, reports::VehicleListOrder::ByAmbit,
                     reports::VehicleListDialog::ByAmbit);
}

}  // namespace veltra::app
