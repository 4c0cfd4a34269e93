#include "schema/DatabaseMaintenance.h"

#include <functional>
#include <string>

#include "db/engine/Workspace.h"
#include "schema/DatabaseFiles.h"

namespace veltra::schema {

namespace {

using db::engine::EngineStatus;
using db::engine::Workspace;

// Opens the engine's workspace, makes the one call of the command and closes
// the workspace again. Each failure is shown with the engine's description.
ui::Outcome runInWorkspace(ui::Prompter& prompter, std::string_view caption,
                                 const std::string& failureSentence,
                                 const std::function<EngineStatus(Workspace&)>& operation) {
  const auto report = [&](const std::string& sentence, const EngineStatus& status) {
    prompter.message(sentence + "\n\n" + status.text, ui::Icon::Exclamation, ui::Buttons::Ok,
                     caption);
    return ui::Outcome::Failed;
  };
  Workspace workspace;
  if (const EngineStatus status = workspace.open(); !status)
    return report("Errore durante la creazione spazio di lavoro", status);
  const EngineStatus status = operation(workspace);
  workspace.close();
  return status ? ui::Outcome::Done : report(failureSentence, status);
}

}  // namespace

ui::Outcome RepairDatabaseCommand(ui::Prompter& prompter) {
  const auto path = prompter.openFile(openDatabaseChoice("Riparazione del Database"));
  if (!path) return ui::Outcome::Cancelled;
  prompter.beginBusy(true);
  return runInWorkspace(prompter, "Riparazione database",
                        "Errore durante la riparazione del database\n\n" + *path,
                        [&](Workspace& workspace) { return workspace.repairDatabase(*path); });
}

ui::Outcome DuplicateDatabaseCommand(ui::Prompter& prompter) {
  const auto source = prompter.openFile(openDatabaseChoice("Selezione del Database di origine"));
  if (!source) return ui::Outcome::Cancelled;
  const auto destination =
      prompter.saveFile(saveDatabaseChoice("Selezione del Database di destinazione"));
  if (!destination) return ui::Outcome::Cancelled;
  prompter.beginBusy(true);
  return runInWorkspace(
      prompter, "Duplicazione database",
      "Errore durante la duplicazione del database\n\n" + *source + "\n" + *destination,
      [&](Workspace& workspace) { return workspace.compactDatabase(*source, *destination); });
}

}  // namespace veltra::schema
