#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "SchemaTestSupport.h"
#include "schema/ApplicationSchema.h"
#include "schema/DatabaseCreation.h"
#include "schema/DefaultDatabase.h"
#include "schema/DictionaryWriters.h"

namespace veltra::schema {
namespace {

using testing::CreatedDatabase;
using testing::hasTable;
using testing::newRegisterLocator;
using testing::RecordingPrompter;
using testing::rowCount;
using testing::tableInfo;
using testing::TempDir;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::string> ApplicationTables = {"bus", "comunica", "regazi", "regprv",
                                                    "storia"};

// Runs on every test engine.
class BuildNewDatabaseTest : public ::testing::TestWithParam<testing::TestEngine> {
 protected:
  std::string newRegister(const std::string& fileName) {
    return newRegisterLocator(GetParam(), dir, fileName);
  }

  TempDir dir;
  RecordingPrompter prompter;
};

INSTANTIATE_TEST_SUITE_P(Engines, BuildNewDatabaseTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(BuildNewDatabaseTest, CompleteDatabaseShowsOnlyTheSuccessText) {
  EXPECT_EQ(BuildNewDatabase(prompter, newRegister("nuovo.mdb"), "Il database è pronto").outcome,
            ui::Outcome::Done);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "Il database è pronto");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Information);
  EXPECT_EQ(prompter.messages[0].buttons, ui::Buttons::Ok);
  EXPECT_EQ(prompter.messages[0].caption, "Creazione database");
}

TEST_P(BuildNewDatabaseTest, CompleteDatabaseHoldsTablesKeysRelationsAndCodes) {
  CreatedDatabase created(GetParam());
  auto connection = created.connect();
  auto names = connection->EngineDatabase()->tableNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"bus", "campi", "comunica", "indici", "indici2", "regazi",
                                      "regprv", "relaz", "relaz2", "storia", "tavole", "utenti"}));
  int relations = 0;
  for (const auto& table : ApplicationTables) {
    const auto info = tableInfo(*connection, table);
    ASSERT_EQ(info.indexes.size(), 1u) << table;
    EXPECT_EQ(info.indexes[0].name, "codice") << table;
    EXPECT_TRUE(info.indexes[0].primary) << table;
    EXPECT_TRUE(info.indexes[0].unique) << table;
    relations += static_cast<int>(info.relations.size());
  }
  EXPECT_EQ(relations, 6);
  EXPECT_EQ(rowCount(*connection, "regazi"), 204);
  EXPECT_EQ(rowCount(*connection, "regprv"), 12);
  EXPECT_EQ(rowCount(*connection, "regazi", "attiva = FALSE"), 204);
  EXPECT_EQ(rowCount(*connection, "utenti"), 0);
  ASSERT_NE(tableInfo(*connection, "utenti").index("nome"), nullptr);
  EXPECT_EQ(rowCount(*connection, "tavole"), 5);
  EXPECT_EQ(rowCount(*connection, "campi"), 63);
  EXPECT_EQ(rowCount(*connection, "indici"), 5);
  EXPECT_EQ(rowCount(*connection, "indici2"), 7);
  EXPECT_EQ(rowCount(*connection, "relaz"), 6);
  EXPECT_EQ(rowCount(*connection, "relaz2"), 8);
  EXPECT_TRUE(created.prompter.messages.empty());
}

TEST(BuildNewDatabase, ExistingFileIsRefusedAndLeftUntouched) {
  TempDir dir;
  const std::string path = dir.file("esistente.mdb");
  std::ofstream(path) << "registro dell'ufficio";
  RecordingPrompter prompter;
  EXPECT_EQ(BuildNewDatabase(prompter, path, "creato").outcome, ui::Outcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 2u);
  const std::string generic = "Errore durante la creazione del database " + path + "\n\n";
  EXPECT_EQ(prompter.messages[0].text.rfind(generic, 0), 0u);
  EXPECT_GT(prompter.messages[0].text.size(), generic.size()) << "the engine's description";
  EXPECT_EQ(prompter.messages[1].text, generic);
  for (const auto& message : prompter.messages) {
    EXPECT_EQ(message.icon, ui::Icon::Exclamation);
    EXPECT_EQ(message.caption, "Creazione database");
  }
  EXPECT_EQ(readFile(path), "registro dell'ufficio");
}

TEST(BuildNewDatabase, FolderThatDoesNotExistFails) {
  TempDir dir;
  RecordingPrompter prompter;
  const std::string path = dir.file("manca/nuovo.mdb");
  EXPECT_EQ(BuildNewDatabase(prompter, path, "creato").outcome, ui::Outcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[1].text, "Errore durante la creazione del database " + path + "\n\n");
  EXPECT_FALSE(std::filesystem::exists(path));
}

// A dictionary whose comunica has one more field, of a type letter no engine type has.
void dictionaryWithBadComunicaField(DictionaryCursors& cursors) {
  WriteApplicationDictionary(cursors);
  AddFieldEntry(cursors.campi, "comunica", "note", 'X', 0, false, "Note", "", "", "");
}

TEST_P(BuildNewDatabaseTest, TableThatFailsStopsCreationWithoutRelationsOrCodes) {
  const std::string path = newRegister("difettoso.mdb");
  const auto built = BuildNewDatabase(prompter, path, "creato", dictionaryWithBadComunicaField);
  EXPECT_EQ(built.outcome, ui::Outcome::Failed);
  EXPECT_TRUE(built.payload.exists);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text.rfind("Errore in fase di inserimento campo \"note\"\n\n", 0),
            0u);
  EXPECT_EQ(prompter.messages[0].caption, "Creazione Tavola \"comunica\"");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Exclamation);

  RecordingPrompter readers;
  db::DatabaseConnection connection(readers, path);
  // Tables are made in name order: bus came before comunica, the others after it.
  EXPECT_TRUE(hasTable(connection, "bus"));
  for (const auto* table : {"comunica", "regazi", "regprv", "storia"})
    EXPECT_FALSE(hasTable(connection, table)) << table;
  EXPECT_TRUE(tableInfo(connection, "bus").relations.empty());
  // What was written before the failure stays in the file.
  EXPECT_EQ(rowCount(connection, "campi"), 64);
}

void dictionaryWithRelationToMissingTable(DictionaryCursors& cursors) {
  AddRelationEntry(cursors.relaz, "bus_ditta", "ditte", "bus");
  AddRelationFieldEntry(cursors.relaz2, "bus_ditta", 0, "codice", "azienda");
  WriteApplicationDictionary(cursors);
}

TEST_P(BuildNewDatabaseTest, FailedRelationLeavesTheOthersButNoCodes) {
  const std::string path = newRegister("relazioni.mdb");
  const auto built =
      BuildNewDatabase(prompter, path, "creato", dictionaryWithRelationToMissingTable);
  EXPECT_EQ(built.outcome, ui::Outcome::Failed);
  EXPECT_TRUE(built.payload.exists);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text.rfind("Errore creazione relazione \"bus_ditta\"\n\n", 0), 0u);
  EXPECT_EQ(prompter.messages[0].caption, "Creazione relazioni");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Exclamation);

  RecordingPrompter readers;
  db::DatabaseConnection connection(readers, path);
  EXPECT_EQ(tableInfo(connection, "storia").relations.size(), 3u);
  EXPECT_EQ(tableInfo(connection, "bus").relations.size(), 2u);
  EXPECT_EQ(rowCount(connection, "regazi"), 0);
  EXPECT_EQ(rowCount(connection, "regprv"), 0);
}

TEST(CreateDatabaseCommand, AsksForTheNewFileThenBuildsIt) {
  TempDir dir;
  RecordingPrompter prompter;
  const std::string path = dir.file("parco.mdb");
  prompter.files.push_back(path);
  EXPECT_EQ(CreateDatabaseCommand(prompter).outcome, ui::Outcome::Done);
  ASSERT_EQ(prompter.fileChoices.size(), 1u);
  const auto& choice = prompter.fileChoices[0];
  EXPECT_EQ(choice.title, "Creazione Nuovo Database");
  EXPECT_EQ(choice.filter, "Database JET (*.mdb)|*.mdb|Tutti i files (*.*)|*.*||");
  EXPECT_EQ(choice.defaultExtension, "MDB");
  EXPECT_EQ(choice.proposedName, "*.MDB");
  // Crea refuses an existing file itself: no replace question before that.
  EXPECT_FALSE(choice.confirmOverwrite);
  EXPECT_FALSE(choice.mustExist);
  // The elapsed-time indicator first; the steps after it ask for the wait cursor only.
  ASSERT_FALSE(prompter.busyCalls.empty());
  EXPECT_TRUE(prompter.busyCalls.front());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "Il database " + path + " è stato creato con successo\n\n");
}

TEST(CreateDatabaseCommand, CancelDoesNothing) {
  RecordingPrompter prompter;
  EXPECT_EQ(CreateDatabaseCommand(prompter).outcome, ui::Outcome::Cancelled);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(prompter.busyCalls.empty());
}

class CreateDefaultDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* previous = std::getenv("XDG_DATA_HOME");
    if (previous != nullptr) savedDataHome_ = previous;
    setenv("XDG_DATA_HOME", dataHome.path().string().c_str(), 1);
  }
  void TearDown() override {
    if (savedDataHome_)
      setenv("XDG_DATA_HOME", savedDataHome_->c_str(), 1);
    else
      unsetenv("XDG_DATA_HOME");
  }
  std::string userDatabase() const { return (dataHome.path() / "Veltra" / "VELTRA.MDB").string(); }

  TempDir dataHome;
  RecordingPrompter prompter;

 private:
  std::optional<std::string> savedDataHome_;
};

TEST_F(CreateDefaultDatabaseTest, BuildsVeltraMdbInTheInstallationDirectory) {
  TempDir installation;
  const auto result = CreateDefaultDatabase(prompter, installation.path().string());
  const std::string path = (installation.path() / "VELTRA.MDB").string();
  EXPECT_EQ(result.path, path);
  EXPECT_TRUE(result.created());
  EXPECT_TRUE(result.becomesCurrent());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "Il database " + path + " è stato creato con successo");
  EXPECT_TRUE(prompter.busyCalls.front());
}

TEST_F(CreateDefaultDatabaseTest, MissingSettingsKeyWarnsAndUsesTheUserDataDirectory) {
  const auto result = CreateDefaultDatabase(prompter, std::nullopt);
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].text,
            "ATTENZIONE: è stata riscontrata una anomalia grave\n"
            "che rende impossibile il corretto funzionamento di\n"
            "questo programma.\n\n"
            "Ipotesi A) Il prodotto non è stato installato nella\n"
            "           maniera corretta, utilizzando Setup.\n\n"
            "Ipotesi B) Il registro di configurazione di Windows\n"
            "           si è corrotto e deve essere ripristinato.\n\n");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);
  EXPECT_EQ(result.path, userDatabase());
  EXPECT_TRUE(result.becomesCurrent());
  EXPECT_TRUE(std::filesystem::is_regular_file(userDatabase()));
}

TEST_F(CreateDefaultDatabaseTest, EmptyDirectoryUsesTheUserDataDirectorySilently) {
  const auto result = CreateDefaultDatabase(prompter, "");
  EXPECT_EQ(result.path, userDatabase());
  EXPECT_TRUE(result.becomesCurrent());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Information);
}

TEST_F(CreateDefaultDatabaseTest, ExistingDefaultDatabaseIsNeitherCreatedNorCurrent) {
  TempDir installation;
  CreateDefaultDatabase(prompter, installation.path().string());
  prompter.clear();
  const auto again = CreateDefaultDatabase(prompter, installation.path().string());
  EXPECT_FALSE(again.created());
  EXPECT_FALSE(again.becomesCurrent());
  EXPECT_EQ(prompter.messages.size(), 2u);
}

}  // namespace
}  // namespace veltra::schema
