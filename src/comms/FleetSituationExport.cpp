#include "comms/FleetSituationExport.h"

#include "comms/ExportFile.h"
#include "comms/FleetFileFormat.h"
#include "comms/FleetSituation.h"

namespace veltra::comms {

namespace {

constexpr const char* FileCaption = "Esportazione situazione mezzi";

ui::FileChoice fleetFileChoice() {
  ui::FileChoice choice;
  choice.title = "Selezione file TXT per esportazione situazione mezzi";
  choice.filter = "File TXT (*.txt)|*.txt|Tutti i files (*.*)|*.*||";
  choice.defaultExtension = "TXT";
  choice.proposedName = "SituazioneMezzi";
  choice.confirmOverwrite = true;
  return choice;
}

}  // namespace

FleetExportStatus ExportFleetSituation(db::DatabaseConnection& connection,
                                       const FleetExportChoice& choice) {
  ui::Prompter& prompter = connection.prompter();
  prompter.beginBusy(true);
  SituationList list;
  if (!LoadFleetSituation(connection, choice.date, list)) return FleetExportStatus::Failed;
  if (list.countMatching(choice.filter) == 0) {
    prompter.message(NothingToExportMessage, ui::Icon::Stop);
    return FleetExportStatus::Empty;
  }
  const auto path = prompter.saveFile(fleetFileChoice());
  if (!path) return FleetExportStatus::Cancelled;
  return WriteExportFile(*path, FleetFileText(choice, list), prompter, FileCaption)
             ? FleetExportStatus::Written
             : FleetExportStatus::Failed;
}

}  // namespace veltra::comms
