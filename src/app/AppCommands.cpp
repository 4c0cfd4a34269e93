#include "app/AppCommands.h"

#include "app/AboutBox.h"
#include "app/CommandIds.h"
#include "app/CommunicationCommands.h"
#include "app/DatabaseCommands.h"
#include "app/MainWindow.h"
#include "app/ReportCommands.h"
#include "app/ReportWindow.h"
#include "app/VehicleCardDialog.h"
#include "app/VehicleHistoryDialog.h"

namespace veltra::app {

namespace {

void exitCommand(MainWindow& window) {
  window.requestExit();
}

// The standard print command belongs to the report shown, if there is one.
void printCommand(MainWindow& window) {
  if (ReportWindow* report = window.reportWindow()) report->print();
}

struct AppCommand {
  int id;
  CommandFunction run;
};

// One line per command; each operation lives in the file of its subject.
constexpr AppCommand Commands[] = {
    {CmdExit, exitCommand},
    {CmdAbout, aboutCommand},
    {CmdCreateDatabase, createDatabaseCommand},
    {CmdConnect, connectCommand},
    {CmdDisconnect, disconnectCommand},
    {CmdRepairDatabase, repairDatabaseCommand},
    {CmdDuplicateDatabase, duplicateDatabaseCommand},
    {CmdImportCommunication, importCommunicationCommand},
    {CmdExportCommunication, exportCommunicationCommand},
    {CmdCommunicationsStatus, communicationsStatusCommand},
    {CmdFleetTextExport, fleetTextExportCommand},
    {CmdVehicleCard, vehicleCardCommand},
    {CmdHistoryCard, historyCardCommand},
    {CmdListByCompany, vehicleListByCompanyCommand},
    {CmdListByAmbit, vehicleListByAmbitCommand},
    {CmdFinancingList, financingListCommand},
    {CmdVerification, verificationCommand},
    {CmdFleetStatistics, fleetStatisticsCommand},
    {CmdPrint, printCommand},
};

}  // namespace

CommandFunction commandFunction(int id) {
  for (const AppCommand& command : Commands)
    if (command.id == id) return command.run;
  return nullptr;
}

}  // namespace veltra::app
