// Crea, Ripara and Duplica from the Database menu: they work on the files the
// user picks and leave the current database as it was.

#include <QFileDialog>
#include <filesystem>

#include "AppFixture.h"
#include "app/BusyIndicator.h"
#include "app/CommandIds.h"

namespace veltra::testing {
namespace {

using namespace app;

class DatabaseCommandsTest : public AppTest {};

TEST_F(DatabaseCommandsTest, CreaBuildsTheChosenFileAndKeepsTheCurrentDatabase) {
  startConnected();
  const std::string current = window().databasePath();
  const std::string created = dir.file("nuovo.mdb");
  dialogs.files = {QString::fromStdString(created)};
  window().runCommand(CmdCreateDatabase);

  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].title, "Creazione Nuovo Database");
  EXPECT_EQ(dialogs.fileDialogs[0].acceptMode, QFileDialog::AcceptSave);
  EXPECT_FALSE(dialogs.fileDialogs[0].confirmOverwrite);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "Il database " + created + " è stato creato con successo\n\n");
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Information);
  EXPECT_EQ(dialogs.boxes[0].caption, "Creazione database");
  EXPECT_TRUE(window().busyIndicator().isRunning());
  EXPECT_EQ(window().databasePath(), current);
  EXPECT_TRUE(window().hasOpenConnection());

  // The new file is a database the program connects to.
  dialogs.files = {QString::fromStdString(created)};
  window().runCommand(CmdConnect);
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(window().databasePath(), created);
}

TEST_F(DatabaseCommandsTest, CreaCancelledDoesNothingElse) {
  startConnected();
  window().runCommand(CmdCreateDatabase);
  EXPECT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_FALSE(window().busyIndicator().isRunning());
}

TEST_F(DatabaseCommandsTest, RiparaOnTheCurrentDatabaseLeavesItConnected) {
  startConnected();
  const std::string current = window().databasePath();
  dialogs.files = {QString::fromStdString(current)};
  window().runCommand(CmdRepairDatabase);
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].title, "Riparazione del Database");
  EXPECT_EQ(dialogs.fileDialogs[0].fileMode, QFileDialog::ExistingFile);
  EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes[0].text;
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(window().databasePath(), current);
}

TEST_F(DatabaseCommandsTest, RiparaWithoutADatabaseConnectsNone) {
  installKey();
  dialogs.answers = {QMessageBox::Cancel};
  ASSERT_TRUE(start());
  dialogs.files = {QString::fromStdString(makeDatabase("altro.mdb"))};
  window().runCommand(CmdRepairDatabase);
  EXPECT_EQ(window().connection(), nullptr);
}

TEST_F(DatabaseCommandsTest, DuplicaWritesACopyThatOpensAndKeepsTheCurrentDatabase) {
  startConnected();
  const std::string current = window().databasePath();
  const std::string copy = dir.file("copia.mdb");
  dialogs.files = {QString::fromStdString(current), QString::fromStdString(copy)};
  window().runCommand(CmdDuplicateDatabase);
  ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
  EXPECT_EQ(dialogs.fileDialogs[0].title, "Selezione del Database di origine");
  EXPECT_EQ(dialogs.fileDialogs[1].title, "Selezione del Database di destinazione");
  EXPECT_EQ(dialogs.fileDialogs[1].acceptMode, QFileDialog::AcceptSave);
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_TRUE(std::filesystem::exists(copy));
  EXPECT_EQ(window().databasePath(), current);
  EXPECT_TRUE(window().hasOpenConnection());

  dialogs.files = {QString::fromStdString(copy)};
  window().runCommand(CmdConnect);
  EXPECT_TRUE(window().hasOpenConnection());
}

TEST_F(DatabaseCommandsTest, DuplicaCancelledAtTheDestinationDoesNothingElse) {
  startConnected();
  dialogs.files = {QString::fromStdString(window().databasePath())};
  window().runCommand(CmdDuplicateDatabase);
  EXPECT_EQ(dialogs.fileDialogs.size(), 2u);
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_FALSE(window().busyIndicator().isRunning());
}

}  // namespace
}  // namespace veltra::testing
