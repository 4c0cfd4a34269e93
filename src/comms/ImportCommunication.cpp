#include "comms/ImportCommunication.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "comms/ApplyCommunication.h"
#include "comms/CommunicationReader.h"

namespace veltra::comms {

namespace {

constexpr const char* CorruptMessage =
    "ATTENZIONE: Il file proposto per l'importazione è corrotto oppure non ha un contenuto\n"
    "compatibile con le specifiche tecniche previste !!!\n\n"
    "L'Acquisizione della Comunicazione Mezzi Aziendale non può essere effettuata.";

constexpr const char* ConfirmQuestion =
    "Il file proposto presenta un contenuto valido per l'importazione.\n\n"
    "Si intende procedere oltre?";

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
  if (!std::filesystem::is_regular_file(path, error)) return false;
  file.open(path, std::ios::binary);
  return file.is_open();
}

}  // namespace

ImportOutcome ImportCommunication(db::DatabaseConnection& connection) {
  ui::Prompter& prompter = connection.prompter();
  const auto path = prompter.openFile(communicationFileChoice());
  if (!path) return {ui::Outcome::Cancelled, {}};

  std::ifstream file;
  if (!openFile(*path, file)) {
    prompter.message("Impossibile aprire\n\n" + *path, ui::Icon::Exclamation);
    return {ui::Outcome::Failed, {}};
  }
  // Reading and applying a large communication both take a while.
  prompter.beginBusy(true);
  const CommunicationCheck check = CheckCommunication(file);
  if (!check.communication) {
    prompter.message(CorruptMessage, ui::Icon::Stop);
    return {ui::Outcome::Failed, {}};
  }
  if (prompter.message(ConfirmQuestion, ui::Icon::Question, ui::Buttons::OkCancel) !=
      ui::Answer::Ok)
    return {ui::Outcome::Declined, {}};
  prompter.beginBusy(true);
  const auto applied = ApplyCommunication(connection, *check.communication);
  prompter.message(summaryText(applied.done(), applied.payload.inserted, applied.payload.updated),
                   ui::Icon::Information);
  return applied;
}

}  // namespace veltra::comms
