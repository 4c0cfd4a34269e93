#include "comms/CompanySituationExport.h"

#include <filesystem>

#include "comms/ExportFile.h"
#include "comms/RecordLine.h"
#include "comms/TaggedFileWriter.h"
#include "comms/VehicleQuery.h"
#include "db/QueryCursor.h"
#include "db/platform/Files.h"

namespace veltra::comms {

namespace {

// Column positions of the active-vehicle query: then the vehicle block.
enum Column { Telaio, Azienda, FirstVehicleField };

void selectActiveVehicles(db::QueryCursor& query) {
  query.SetSelect("telaio, azienda, " + VehicleFieldList());
  query.SetFrom("bus");
  query.SetWhere("datrad IS NULL");
  query.SetOrderBy("azienda, telaio");
}

VehicleEntry readVehicle(db::QueryCursor& query) {
  VehicleEntry entry;
  entry.kind = EntryKind::Var;
  query.GetString(Telaio, entry.telaio);
  ReadVehicleFields(query, FirstVehicleField, entry.vehicle);
  return entry;
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
  db::QueryCursor query(&connection);
  selectActiveVehicles(query);
  Communication* current = nullptr;
  for (bool row = query.Execute(); row; row = query.NextRow()) {
    std::int32_t azienda = 0;
    query.GetInt(Azienda, azienda);
    if (current == nullptr || current->azienda() != azienda)
      current = &situations.append(azienda, generationDate);
    current->append(readVehicle(query));
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
