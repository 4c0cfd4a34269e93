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

ui::Outcome ExportFleetSituation(db::DatabaseConnection& connection,
                                 const FleetExportChoice& choice) {
  ui::Prompter& prompter = connection.Prompter();
  prompter.beginBusy(true);
  FleetLines lines;
  if (!LoadFleetLines(connection, choice.date, lines)) return ui::Outcome::Failed;
  if (lines.countMatching(choice.filter) == 0) {
    prompter.message(NothingToExportMessage, ui::Icon::Stop);
    return ui::Outcome::Failed;
  }
  const auto path = prompter.saveFile(fleetFileChoice());
  if (!path) return ui::Outcome::Cancelled;
  ExportFiles file(prompter, FileCaption);
  if (const auto refusal = lines.refusal(choice.filter)) {
    file.refuse(*path, *refusal);
    return ui::Outcome::Failed;
  }
  return file.stage(*path, FleetFileText(choice, lines)) && file.publish() ? ui::Outcome::Done
                                                                           : ui::Outcome::Failed;
}

}  // namespace veltra::comms
