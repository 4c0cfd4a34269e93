#include "comms/ImportCommunication.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "comms/ApplyCommunication.h"
#include "comms/CommunicationReader.h"
#include "comms/ExportFile.h"
#include "db/platform/Files.h"

namespace veltra::comms {

namespace {

std::string confirmQuestion() {
  return std::string(ValidFileMessage) + "\n\nSi intende procedere oltre?";
}

ui::FileChoice communicationFileChoice() {
  ui::FileChoice choice;
  choice.title = "Acquisizione Comunicazione Mezzi Aziendali";
  choice.filter = "File di testo (*.txt)|*.txt|Tutti i files (*.*)|*.*||";
  choice.defaultExtension = "TXT";
  choice.proposedName = "VariazioniBusQz";
  choice.mustExist = true;
  return choice;
}

std::string summaryText(bool success, int inserted, int updated) {
  return std::string("L'Acquisizione della Comunicazione Mezzi Aziendale è terminata\n") +
         (success ? " con successo.\n" : " con errori.\n") + "Sono state inserite " +
         std::to_string(inserted) + " schede Bus\n" + "Sono state aggiornate " +
         std::to_string(updated) + " schede Bus";
}

// Only a regular file: a folder opens as a stream on some systems but reads
// as nothing, and a pipe or a device may keep the import waiting for ever.
bool openFile(const std::string& path, std::ifstream& file) {
  std::error_code error;
  const std::filesystem::path name = platform::FilePath(path);
  if (!std::filesystem::is_regular_file(name, error)) return false;
  file.open(name, std::ios::binary);
  return file.is_open();
}

}  // namespace

std::optional<CommunicationCheck> CheckCommunicationFile(const std::string& path,
                                                         ui::Prompter& prompter) {
  std::ifstream file;
  if (!openFile(path, file)) {
    prompter.message(FileRefusedText("Impossibile aprire", path), ui::Icon::Exclamation);
    return std::nullopt;
  }
  // Reading a large communication takes a while.
  prompter.beginBusy(true);
  return CheckCommunication(file);
}

ImportOutcome ImportCommunication(db::DatabaseConnection& connection) {
  if (connection.RefusedAsReadOnly()) return {ui::Outcome::Failed, {}};
  ui::Prompter& prompter = connection.Prompter();
  const auto path = prompter.openFile(communicationFileChoice());
  if (!path) return {ui::Outcome::Cancelled, {}};

  const auto check = CheckCommunicationFile(*path, prompter);
  if (!check) return {ui::Outcome::Failed, {}};
  if (!check->communication) {
    prompter.message(CorruptFileMessage, ui::Icon::Stop);
    return {ui::Outcome::Failed, {}};
  }
  if (prompter.message(confirmQuestion(), ui::Icon::Question, ui::Buttons::OkCancel) !=
      ui::Answer::Ok)
    return {ui::Outcome::Declined, {}};
  // Applying a large communication takes a while.
  prompter.beginBusy(true);
  const auto applied = ApplyCommunication(connection, *check->communication);
  prompter.message(summaryText(applied.done(), applied.payload.inserted, applied.payload.updated),
                   ui::Icon::Information);
  return applied;
}

}  // namespace veltra::comms
