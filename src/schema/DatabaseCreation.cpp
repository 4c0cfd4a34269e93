#include "schema/DatabaseCreation.h"

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
  return {ui::Outcome::Failed, {}};
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
  if (!complete) return {ui::Outcome::Failed, {.exists = true}};
  SeedReferenceTables(connection);
  return {ui::Outcome::Done, {.exists = true}};
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
                                   : BuildOutcome{ui::Outcome::Failed, {}};
  if (const EngineStatus committed = transaction.commit(); !committed) {
    reportEngineFailure(prompter, path, committed);
    return failed(prompter, path);
  }
  if (!outcome.payload.exists) return failed(prompter, path);
  if (outcome.done())
    prompter.message(successText, ui::Icon::Information, ui::Buttons::Ok, Caption);
  return outcome;
}

std::string createdText(const std::string& path) {
  return "Il database " + path + " è stato creato con successo";
}

BuildOutcome CreateDatabaseCommand(ui::Prompter& prompter) {
  const auto path = prompter.saveFile(saveDatabaseChoice("Creazione Nuovo Database"));
  if (!path) return {ui::Outcome::Cancelled, {}};
  prompter.beginBusy(true);
  return BuildNewDatabase(prompter, *path, createdText(*path) + "\n\n");
}

}  // namespace veltra::schema
