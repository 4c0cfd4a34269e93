#include "comms/CompanySituationExport.h"

#include <filesystem>

#include "comms/ExportFile.h"
#include "comms/RecordLine.h"
#include "comms/SituationRow.h"
#include "comms/TaggedFileWriter.h"
#include "comms/VehicleQuery.h"
#include "db/QueryCursor.h"
#include "db/platform/Files.h"

namespace veltra::comms {

namespace {

// The chassis, the company and the vehicle fields of each vehicle in service.
QueryColumns<SituationRow> activeVehicleColumns() {
  QueryColumns<SituationRow> columns = {TextColumn("telaio", &SituationRow::telaio),
                                        WholeColumn("azienda", &SituationRow::azienda)};
  AppendVehicleColumns(columns, "", &SituationRow::vehicle);
  return columns;
}

void selectActiveVehicles(db::QueryCursor& query, const QueryColumns<SituationRow>& columns) {
  query.SetSelect(SelectList(columns));
  query.SetFrom("bus");
  query.SetWhere("datrad IS NULL");
  query.SetOrderBy("azienda, telaio");
}

VehicleEntry entryOf(SituationRow& row) {
  return {EntryKind::Var, std::move(row.telaio), std::move(row.vehicle)};
}

ui::FileChoice folderChoice() {
  ui::FileChoice choice;
  choice.title = "Selezione Cartella Situazioni Mezzi Aziendali";
  choice.filter = "File di testo (*.txt)|*.txt|Tutti i files (*.*)|*.*||";
  choice.defaultExtension = "TXT";
  choice.proposedName = "ComunicazioneBus";
  choice.confirmOverwrite = true;
  return choice;
}

// Why the situation fits no file: a vehicle text that would break its line
// or that the file's code page cannot hold.
std::optional<std::string> lineRefusal(const Communication& situation) {
  Windows1252Codec codec;
  for (const VehicleEntry& entry : situation.entries())
    if (auto refusal = VehicleLineRefusal(entry.telaio, entry.vehicle, codec)) return refusal;
  return std::nullopt;
}

// Every company's file is written before any is put in place: the companies
// get a complete set of situations or their folder stays as it was.
bool writeSituationFiles(const CommunicationList& situations, const std::string& folder,
                         ui::Prompter& prompter) {
  ExportFiles files(prompter);
  for (const Communication& situation : situations.items()) {
    const std::string path = SituationFilePath(folder, situation.azienda());
    if (const auto refusal = lineRefusal(situation)) {
      files.refuse(path, *refusal);
      return false;
    }
    if (!files.stage(path, SituationFileText(situation))) return false;
  }
  return files.publish();
}

}  // namespace

bool LoadCompanySituations(db::DatabaseConnection& connection, const std::string& generationDate,
                           CommunicationList& situations) {
  const QueryColumns<SituationRow> columns = activeVehicleColumns();
  db::QueryCursor query(&connection);
  selectActiveVehicles(query, columns);
  Communication* current = nullptr;
  for (bool found = query.Execute(); found; found = query.NextRow()) {
    SituationRow row;
    ReadColumns(query, columns, row);
    if (current == nullptr || current->azienda() != row.azienda)
      current = &situations.append(row.azienda, generationDate);
    current->append(entryOf(row));
  }
  return !query.Failed();
}

std::string SituationFilePath(const std::string& folder, std::int32_t azienda) {
  const std::string name = std::string(SituationFileTag) + "_" + std::to_string(azienda) + ".txt";
  return platform::Utf8Name(platform::FilePath(folder) / name);
}

std::optional<std::string> SituationFileText(const Communication& situation) {
  return TaggedFileText(SituationFileTag, situation, SituationRecordFields);
}

ui::Outcome ExportCompanySituations(db::DatabaseConnection& connection,
                                    const std::string& generationDate) {
  ui::Prompter& prompter = connection.Prompter();
  prompter.beginBusy(true);
  CommunicationList situations;
  // Files that leave out vehicles must not reach the companies.
  if (!LoadCompanySituations(connection, generationDate, situations)) return ui::Outcome::Failed;
  const auto chosen = prompter.saveFile(folderChoice());
  if (!chosen) return ui::Outcome::Cancelled;
  // Only the folder of the chosen path counts; no file of the chosen name is written.
  const std::string folder = std::filesystem::path(*chosen).parent_path().string();
  if (!writeSituationFiles(situations, folder, prompter)) return ui::Outcome::Failed;
  prompter.message(SituationsWrittenMessage, ui::Icon::Information);
  return ui::Outcome::Done;
}

}  // namespace veltra::comms
