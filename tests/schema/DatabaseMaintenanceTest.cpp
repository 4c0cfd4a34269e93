#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SchemaTestSupport.h"
#include "schema/DatabaseMaintenance.h"

namespace veltra::schema {
namespace {

using testing::CreatedDatabase;
using testing::RecordingPrompter;
using testing::rowCount;
using testing::TempDir;

TEST(RepairDatabaseCommand, HealthyFileIsRepairedSilently) {
  CreatedDatabase created(testing::TestEngine::File);
  RecordingPrompter prompter;
  prompter.files.push_back(created.path());
  EXPECT_EQ(RepairDatabaseCommand(prompter), ui::Outcome::Done);
  EXPECT_TRUE(prompter.messages.empty());
  ASSERT_EQ(prompter.fileChoices.size(), 1u);
  EXPECT_EQ(prompter.fileChoices[0].title, "Riparazione del Database");
  EXPECT_TRUE(prompter.fileChoices[0].mustExist);
  EXPECT_EQ(prompter.fileChoices[0].filter, "Database JET (*.mdb)|*.mdb|Tutti i files (*.*)|*.*||");
  EXPECT_EQ(prompter.busyCalls, std::vector<bool>{true});
  auto connection = created.connect();
  EXPECT_EQ(rowCount(*connection, "regazi"), 204);
}

TEST(RepairDatabaseCommand, FileThatIsNotADatabaseIsReported) {
  TempDir dir;
  const std::string path = dir.file("lettera.mdb");
  std::ofstream(path) << "Gentile ufficio, vi scriviamo per comunicare...";
  RecordingPrompter prompter;
  prompter.files.push_back(path);
  EXPECT_EQ(RepairDatabaseCommand(prompter), ui::Outcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 1u);
  const std::string start = "Errore durante la riparazione del database\n\n" + path + "\n\n";
  EXPECT_EQ(prompter.messages[0].text.rfind(start, 0), 0u) << prompter.messages[0].text;
  EXPECT_GT(prompter.messages[0].text.size(), start.size());
  EXPECT_EQ(prompter.messages[0].caption, "Riparazione database");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Exclamation);
}

TEST(RepairDatabaseCommand, RowsSetAsideAreToldTableByTable) {
  CreatedDatabase created(testing::TestEngine::File);
  {
    auto connection = created.connect();
    ASSERT_TRUE(
        testing::addRow(*connection, "comunica", {{"azienda", "7"}, {"data", "01/06/2010"}}));
  }
  {
    // A company row lost to damage: its communication has nothing to refer to.
    db::engine::EngineStatus status;
    auto engine = db::engine::EngineDatabase::open(created.path(), status);
    ASSERT_TRUE(engine->execute("PRAGMA foreign_keys = OFF; DELETE FROM regazi WHERE codice = 7"));
  }
  RecordingPrompter prompter;
  prompter.files.push_back(created.path());
  EXPECT_EQ(RepairDatabaseCommand(prompter), ui::Outcome::Done);
  ASSERT_EQ(prompter.messages.size(), 1u);
  const std::string& text = prompter.messages[0].text;
  EXPECT_NE(text.find("Tavola regazi: 203 righe salvate, 0 messe da parte, 0 illeggibili\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Tavola comunica: 0 righe salvate, 1 messe da parte, 0 illeggibili\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\"righe_messe_da_parte\""), std::string::npos) << text;
  EXPECT_NE(text.find(created.path() + ".danneggiato"), std::string::npos) << text;
  EXPECT_EQ(prompter.messages[0].caption, "Riparazione database");
  auto connection = created.connect();
  EXPECT_EQ(rowCount(*connection, "righe_messe_da_parte", "tavola = 'comunica'"), 1);
}

TEST(RepairDatabaseCommand, CancelDoesNothing) {
  RecordingPrompter prompter;
  EXPECT_EQ(RepairDatabaseCommand(prompter), ui::Outcome::Cancelled);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(prompter.busyCalls.empty());
}

TEST(DuplicateDatabaseCommand, CopyOpensAndHoldsTheSameRows) {
  CreatedDatabase created(testing::TestEngine::File);
  {
    auto connection = created.connect();
    ASSERT_TRUE(
        testing::addRow(*connection, "comunica", {{"azienda", "7"}, {"data", "01/06/2010"}}));
  }
  TempDir dir;
  const std::string copy = dir.file("copia.mdb");
  RecordingPrompter prompter;
  prompter.files = {created.path(), copy};
  EXPECT_EQ(DuplicateDatabaseCommand(prompter), ui::Outcome::Done);
  EXPECT_TRUE(prompter.messages.empty());
  ASSERT_EQ(prompter.fileChoices.size(), 2u);
  EXPECT_EQ(prompter.fileChoices[0].title, "Selezione del Database di origine");
  EXPECT_TRUE(prompter.fileChoices[0].mustExist);
  EXPECT_EQ(prompter.fileChoices[1].title, "Selezione del Database di destinazione");
  EXPECT_FALSE(prompter.fileChoices[1].confirmOverwrite);
  EXPECT_EQ(prompter.busyCalls, std::vector<bool>{true});

  RecordingPrompter readers;
  db::DatabaseConnection connection(readers, copy);
  ASSERT_TRUE(connection.IsOpen());
  EXPECT_EQ(rowCount(connection, "regazi"), 204);
  EXPECT_EQ(rowCount(connection, "regprv"), 12);
  EXPECT_EQ(rowCount(connection, "comunica", "azienda = 7"), 1);
  EXPECT_EQ(rowCount(connection, "campi"), 63);
  EXPECT_EQ(testing::tableInfo(connection, "storia").relations.size(), 3u);
}

// What a run killed before its rename left beside the destination does not
// stop the next run, which leaves nothing of it behind.
TEST(DuplicateDatabaseCommand, WhatAKilledRunLeftIsRemovedByTheNext) {
  CreatedDatabase created(testing::TestEngine::File);
  TempDir dir;
  const std::string copy = dir.file("copia.mdb");
  std::ofstream(copy + ".duplicazione") << "half a database";
  std::ofstream(copy + ".duplicazione-journal") << "its journal";
  RecordingPrompter prompter;
  prompter.files = {created.path(), copy};
  EXPECT_EQ(DuplicateDatabaseCommand(prompter), ui::Outcome::Done);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(copy + ".duplicazione"));
  EXPECT_FALSE(std::filesystem::exists(copy + ".duplicazione-journal"));
  RecordingPrompter readers;
  db::DatabaseConnection connection(readers, copy);
  EXPECT_EQ(rowCount(connection, "regazi"), 204);
}

TEST(DuplicateDatabaseCommand, ExistingDestinationIsReportedWithBothPaths) {
  CreatedDatabase source(testing::TestEngine::File);
  CreatedDatabase destination(testing::TestEngine::File);
  RecordingPrompter prompter;
  prompter.files = {source.path(), destination.path()};
  EXPECT_EQ(DuplicateDatabaseCommand(prompter), ui::Outcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text.rfind("Errore durante la duplicazione del database\n\n" +
                                                source.path() + "\n" + destination.path() + "\n\n",
                                            0),
            0u)
      << prompter.messages[0].text;
  // The reason in Italian, as every other engine failure reads.
  EXPECT_NE(prompter.messages[0].text.find("esiste già"), std::string::npos);
  EXPECT_EQ(prompter.messages[0].caption, "Duplicazione database");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Exclamation);
}

TEST(DuplicateDatabaseCommand, CancelOfEitherDialogDoesNothing) {
  CreatedDatabase source(testing::TestEngine::File);
  RecordingPrompter prompter;
  EXPECT_EQ(DuplicateDatabaseCommand(prompter), ui::Outcome::Cancelled);
  prompter.files = {source.path()};
  EXPECT_EQ(DuplicateDatabaseCommand(prompter), ui::Outcome::Cancelled);
  EXPECT_EQ(prompter.fileChoices.size(), 3u);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(prompter.busyCalls.empty());
}

}  // namespace
}  // namespace veltra::schema
