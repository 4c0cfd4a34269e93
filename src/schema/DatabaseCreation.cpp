#include "schema/DatabaseCreation.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"
#include "schema/ApplicationSchema.h"
#include "schema/DatabaseFiles.h"
#include "schema/ReferenceCodes.h"
#include "schema/SchemaFromDictionary.h"
#include "schema/SpecialTables.h"

namespace veltra::schema {

namespace {

using db::engine::EngineDatabase;
using db::engine::EngineStatus;

constexpr std::string_view Caption = "Creazione database";
constexpr std::string_view DefaultFileName = "VELTRA.MDB";

std::string failureText(const std::string& path) {
  return "Errore durante la creazione del database " + path + "\n\n";
}

void reportEngineFailure(ui::Prompter& prompter, const std::string& path,
                         const EngineStatus& status) {
  prompter.message(failureText(path) + status.text, ui::Icon::Exclamation, ui::Buttons::Ok,
                   Caption);
}

// The generic message that closes every failed creation.
BuildOutcome failed(ui::Prompter& prompter, const std::string& path) {
  prompter.message(failureText(path), ui::Icon::Exclamation, ui::Buttons::Ok, Caption);
  return BuildOutcome::Failed;
}

// The dictionary is written first; the application tables and relations are
// then made by reading it back; the code lists go in only when all of them exist.
BuildOutcome buildFromDictionary(ui::Prompter& prompter, EngineDatabase& database,
                                 const DictionaryWriter& writeDictionary) {
  db::DatabaseConnection connection(prompter, database);
  {
    DictionaryCursors cursors(connection);
    writeDictionary(cursors);
  }
  const bool complete = CreateTablesFromDictionary(prompter, connection, database) &&
                        CreateRelationsFromDictionary(prompter, connection, database);
  if (!complete) return BuildOutcome::Incomplete;
  SeedReferenceTables(connection);
  return BuildOutcome::Complete;
}

std::string createdText(const std::string& path) {
  return "Il database " + path + " è stato creato con successo";
}

}  // namespace

BuildOutcome BuildNewDatabase(ui::Prompter& prompter, const std::string& path,
                              std::string_view successText) {
  return BuildNewDatabase(prompter, path, successText, WriteApplicationDictionary);
}

BuildOutcome BuildNewDatabase(ui::Prompter& prompter, const std::string& path,
                              std::string_view successText,
                              const DictionaryWriter& writeDictionary) {
  EngineStatus status;
  const auto database = EngineDatabase::create(path, status);
  if (!database) {
    reportEngineFailure(prompter, path, status);
    return failed(prompter, path);
  }
  // One transaction for the whole creation: one write to disk, and a crash
  // leaves an empty file rather than half a schema. Whatever was made before a
  // failure is still committed, so the user finds the file as the messages say.
  db::engine::Transaction transaction(*database);
  if (!transaction.status()) {
    reportEngineFailure(prompter, path, transaction.status());
    return failed(prompter, path);
  }
  const BuildOutcome outcome = CreateSpecialTables(prompter, *database)
                                   ? buildFromDictionary(prompter, *database, writeDictionary)
                                   : BuildOutcome::Failed;
  if (const EngineStatus committed = transaction.commit(); !committed) {
    reportEngineFailure(prompter, path, committed);
    return failed(prompter, path);
  }
  if (outcome == BuildOutcome::Failed) return failed(prompter, path);
  if (outcome == BuildOutcome::Complete)
    prompter.message(successText, ui::Icon::Information, ui::Buttons::Ok, Caption);
  return outcome;
}

std::optional<BuildOutcome> CreateDatabaseCommand(ui::Prompter& prompter) {
  const auto path = prompter.saveFile(saveDatabaseChoice("Creazione Nuovo Database"));
  if (!path) return std::nullopt;
  prompter.beginBusy(true);
  return BuildNewDatabase(prompter, *path, createdText(*path) + "\n\n");
}

DefaultDatabase CreateDefaultDatabase(ui::Prompter& prompter,
                                      const std::optional<std::string>& directory) {
  if (!directory) prompter.message(InstallationWarning, ui::Icon::Stop, ui::Buttons::Ok);
  // Without an installation directory the database goes where the user's
  // data belongs, never into the root of the file system.
  const std::filesystem::path folder =
      directory && !directory->empty() ? *directory : UserDataDirectory();
  const std::string path = (folder / DefaultFileName).string();
  prompter.beginBusy(true);
  return {BuildNewDatabase(prompter, path, createdText(path)), path};
}

std::string UserDataDirectory() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  std::filesystem::path base;
  if (dataHome != nullptr && std::filesystem::path(dataHome).is_absolute())
    base = dataHome;
  else if (home != nullptr && *home != '\0')
    base = std::filesystem::path(home) / ".local" / "share";
  else
    base = std::filesystem::temp_directory_path();
  const auto folder = base / "Veltra";
  std::error_code ignored;  // a folder that cannot be made fails the creation, with its message
  std::filesystem::create_directories(folder, ignored);
  return folder.string();
}

}  // namespace veltra::schema
