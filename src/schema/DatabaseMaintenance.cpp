#include "schema/DatabaseMaintenance.h"

#include <algorithm>
#include <functional>
#include <string>

#include "db/engine/EngineDatabase.h"
#include "db/engine/Workspace.h"
#include "schema/DatabaseCreation.h"
#include "schema/DatabaseFiles.h"

namespace veltra::schema {

namespace {

using db::engine::EngineStatus;
using db::engine::RepairReport;
using db::engine::TableRescue;
using db::engine::Workspace;

constexpr std::string_view RepairCaption = "Riparazione database";

std::string rescueLine(const TableRescue& rescue) {
  std::string line =
      "Tavola " + rescue.table + ": " + std::to_string(rescue.kept) + " righe salvate";
  if (rescue.fromPages > 0)
    line += " (" + std::to_string(rescue.fromPages) + " lette dalle pagine del file)";
  line += ", " + std::to_string(rescue.setAside) + " messe da parte, " +
          std::to_string(rescue.unreadable) + " illeggibili";
  if (rescue.unknownLosses) line += "; altre righe illeggibili in numero non determinabile";
  return line;
}

// Takes the messages of the build of the model file, which the user need not
// see unless the build fails.
class QuietPrompter : public ui::Prompter {
 public:
  std::optional<std::string> openFile(const ui::FileChoice&) override { return std::nullopt; }
  std::optional<std::string> saveFile(const ui::FileChoice&) override { return std::nullopt; }
  void beginBusy(bool) override {}
  const std::string& messages() const { return messages_; }

 private:
  ui::Answer showMessage(std::string_view text, ui::Icon, ui::Buttons, std::string_view) override {
    messages_.append(text).append("\n");
    return ui::Answer::Ok;
  }
  std::string messages_;
};

// A new database with the program's schema: the repaired copy is built from
// it, never from the damaged file's own schema.
EngineStatus buildModel(const std::string& path) {
  QuietPrompter quiet;
  if (BuildNewDatabase(quiet, path, "").outcome == ui::Outcome::Done)
    return EngineStatus::success();
  return EngineStatus::failure("Lo schema del programma non ha potuto essere creato.\n" +
                               quiet.messages());
}

}  // namespace

std::string RepairSummaryText(const RepairReport& report) {
  std::string text = report.lostNothing()
                         ? "Il database è stato riparato: tutte le righe sono state salvate.\n\n"
                         : "Il database è stato riparato, ma non tutte le righe erano integre.\n\n";
  for (const TableRescue& rescue : report.tables) text += rescueLine(rescue) + "\n";
  const bool anySetAside =
      std::any_of(report.tables.begin(), report.tables.end(),
                  [](const TableRescue& rescue) { return rescue.setAside > 0; });
  if (anySetAside)
    text += "\nLe righe messe da parte sono nella tavola \"" +
            std::string(db::engine::SetAsideTableName) + "\" del database riparato.";
  return text + "\nIl file danneggiato è conservato in \"" + report.keptBeside + "\".";
}

namespace {

// Makes the one call of the command in the engine's workspace; its failure
// is shown with the engine's description.
ui::Outcome runInWorkspace(ui::Prompter& prompter, std::string_view caption,
                           const std::string& database, const std::string& failureSentence,
                           const std::function<EngineStatus(Workspace&)>& operation) {
  const auto workspace = Workspace::forDatabase(database);
  workspace->setProgressHook([&prompter] { prompter.keepResponsive(); });
  const EngineStatus status = operation(*workspace);
  if (status) return ui::Outcome::Done;
  prompter.message(failureSentence + "\n\n" + status.text, ui::Icon::Exclamation, ui::Buttons::Ok,
                   caption);
  return ui::Outcome::Failed;
}

}  // namespace

ui::Outcome RepairDatabaseCommand(
    ui::Prompter& prompter, const std::function<void(const std::string& path)>& beforeRepair) {
  const auto path = prompter.openFile(openDatabaseFileChoice("Riparazione del Database"));
  if (!path) return ui::Outcome::Cancelled;
  if (beforeRepair) beforeRepair(*path);
  prompter.beginBusy(true);
  RepairReport report;
  const ui::Outcome outcome = runInWorkspace(
      prompter, RepairCaption, *path, "Errore durante la riparazione del database\n\n" + *path,
      [&](Workspace& workspace) { return workspace.repairDatabase(*path, buildModel, report); });
  // A file replaced by its repaired copy is always said, with where the
  // damaged original is; a healthy file left as it was stays silent.
  if (outcome == ui::Outcome::Done && report.replaced())
    prompter.message(RepairSummaryText(report),
                     report.lostNothing() ? ui::Icon::Information : ui::Icon::Exclamation,
                     ui::Buttons::Ok, RepairCaption);
  return outcome;
}

ui::Outcome DuplicateDatabaseCommand(ui::Prompter& prompter) {
  const auto source = prompter.openFile(openDatabaseChoice("Selezione del Database di origine"));
  if (!source) return ui::Outcome::Cancelled;
  const auto destination =
      prompter.saveFile(saveDatabaseChoice("Selezione del Database di destinazione"));
  if (!destination) return ui::Outcome::Cancelled;
  prompter.beginBusy(true);
  return runInWorkspace(
      prompter, "Duplicazione database", *source,
      "Errore durante la duplicazione del database\n\n" +
          db::engine::EngineDatabase::displayName(*source) + "\n" + *destination,
      [&](Workspace& workspace) { return workspace.compactDatabase(*source, *destination); });
}

}  // namespace veltra::schema
