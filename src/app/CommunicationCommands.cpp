#include "app/CommunicationCommands.h"

#include "app/CommunicationsStatusDialog.h"
#include "app/MainWindow.h"
#include "app/SituationDateDialog.h"
#include "app/TxtExportDialog.h"
#include "comms/CompanySituationExport.h"
#include "comms/FleetSituationExport.h"
#include "comms/ImportCommunication.h"

namespace veltra::app {

void importCommunicationCommand(MainWindow& window) {
  if (db::DatabaseConnection* connection = window.connection())
    comms::ImportCommunication(*connection);
  window.repaintNow();
}

void exportCommunicationCommand(MainWindow& window) {
  db::DatabaseConnection* connection = window.connection();
  if (connection == nullptr) return;
  SituationDateDialog dialog(window.prompter(), &window);
  if (window.runDialog(dialog) != QDialog::Accepted) return;
  comms::ExportCompanySituations(*connection, dialog.date());
  window.repaintNow();
}

void communicationsStatusCommand(MainWindow& window) {
  if (db::DatabaseConnection* connection = window.connection()) {
    CommunicationsStatusDialog dialog(*connection, &window);
    window.runDialog(dialog);
  }
}

void fleetTextExportCommand(MainWindow& window) {
  db::DatabaseConnection* connection = window.connection();
  if (connection == nullptr) return;
  TxtExportDialog dialog(*connection, &window);
  if (window.runDialog(dialog) != QDialog::Accepted) return;
  comms::ExportFleetSituation(*connection, dialog.choice());
  window.repaintNow();
}

}  // namespace veltra::app
