// Connetti, Sconnetti and the exit: what they change in the window and what
// they leave in the settings for the next start.

#include <QFileDialog>
#include <QLabel>
#include <QStatusBar>
#include <filesystem>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"

namespace veltra::testing {
namespace {

using namespace app;

const std::string ExitQuestion =
    "E' stata richiesta l'uscita da Veltra.\n\nIntendi veramente uscire dal programma ?";

class ConnectionCommandsTest : public AppTest {
 protected:
  // What the status bar says of the register.
  QString statusText() { return window().statusBar()->findChild<QLabel*>()->text(); }
};

// A database deleted, or moved, while connected: the next command says so
// instead of reading the file that is no longer there, and lets it go.
TEST_F(ConnectionCommandsTest, ADatabaseDeletedOrMovedWhileConnectedIsSaidSo) {
  for (const bool moved : {false, true}) {
    dialogs.boxes.clear();
    startConnected();
    const std::string path = window().databasePath();
    EXPECT_EQ(statusText(), QString::fromStdString("Database: " + path));
    if (moved)
      std::filesystem::rename(path, path + ".altrove");
    else
      std::filesystem::remove(path);
    window().runCommand(CmdVehicleCard);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Errore di accesso al database\n\nIl file " + path +
                                         " è stato spostato o cancellato dopo la connessione.");
    EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Critical);
    EXPECT_FALSE(window().hasOpenConnection());
    EXPECT_FALSE(window().isCommandEnabled(CmdImportCommunication));
    EXPECT_EQ(statusText(), "Nessun database collegato");
    application.reset();
  }
}

TEST_F(ConnectionCommandsTest, ConnettiOffersDatabaseFilesThatMustExist) {
  startConnected();
  window().runCommand(CmdConnect);
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  const ShownFileDialog& shown = dialogs.fileDialogs[0];
  EXPECT_EQ(shown.title, "Selezione del Database");
  EXPECT_EQ(shown.nameFilters, (QStringList{QStringLiteral("Database JET (*.mdb)"),
                                            QStringLiteral("Tutti i files (*)")}));
  EXPECT_EQ(shown.defaultSuffix, QStringLiteral("MDB"));
  EXPECT_EQ(shown.acceptMode, QFileDialog::AcceptOpen);
  EXPECT_EQ(shown.fileMode, QFileDialog::ExistingFile);
}

TEST_F(ConnectionCommandsTest, ConnettiCancelledKeepsTheDatabaseAndTheTitle) {
  startConnected();
  const std::string before = window().databasePath();
  const db::DatabaseConnection* connection = window().connection();
  const QString title = window().windowTitle();
  window().runCommand(CmdConnect);  // the script has no file: Cancel
  EXPECT_EQ(window().connection(), connection);
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(window().databasePath(), before);
  EXPECT_EQ(window().windowTitle(), title);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ConnectionCommandsTest, ConnettiOnAnotherDatabaseSwitchesToIt) {
  startConnected();
  const std::string other = makeDatabase("altro.mdb");
  dialogs.files = {QString::fromStdString(other)};
  window().runCommand(CmdConnect);
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(window().databasePath(), other);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ConnectionCommandsTest, ConnettiOnANonDatabaseShowsOneErrorAndLeavesNoDatabase) {
  startConnected();
  dialogs.files = {QString::fromStdString(makeNonDatabase("testo.mdb"))};
  window().runCommand(CmdConnect);
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Errore in fase di apertura del database\n\n"
                                                      "Il file non è un database."});
  EXPECT_EQ(window().connection(), nullptr);
  EXPECT_TRUE(window().databasePath().empty());
  EXPECT_FALSE(window().isCommandEnabled(CmdVehicleCard));
  for (QAction* action : window().commandActions()) {
    if (needsDatabase(action->data().toInt())) {
      EXPECT_FALSE(action->isEnabled()) << action->data().toInt();
    }
  }
}

TEST_F(ConnectionCommandsTest, ConnettiAfterAFailureEnablesTheDataCommands) {
  installKey();
  dialogs.answers = {QMessageBox::Cancel};
  ASSERT_TRUE(start());
  dialogs.files = {QString::fromStdString(makeDatabase("nuovo.mdb"))};
  window().runCommand(CmdConnect);
  EXPECT_TRUE(window().hasOpenConnection());
  for (QAction* action : window().commandActions()) EXPECT_TRUE(action->isEnabled());
}

TEST_F(ConnectionCommandsTest, SconnettiAsksAndOnCancelKeepsTheDatabase) {
  startConnected();
  dialogs.answers = {QMessageBox::Cancel};
  window().runCommand(CmdDisconnect);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "Confermi sconnessione database ?");
  EXPECT_EQ(dialogs.boxes[0].caption, "Sconnessione Database");
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Question);
  EXPECT_EQ(dialogs.boxes[0].cancelText, QStringLiteral("Annulla"));
  EXPECT_TRUE(window().hasOpenConnection());
}

TEST_F(ConnectionCommandsTest, SconnettiThenExitLeavesAnEmptyAssociation) {
  startConnected();
  dialogs.answers = {QMessageBox::Ok, QMessageBox::Ok};
  window().runCommand(CmdDisconnect);
  EXPECT_EQ(window().connection(), nullptr);
  EXPECT_TRUE(window().databasePath().empty());
  EXPECT_FALSE(window().isCommandEnabled(CmdImportCommunication));

  window().runCommand(CmdExit);
  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(settings().database(), std::string());

  // The next start finds no association and asks the first-start question.
  application.reset();
  dialogs.boxes.clear();
  dialogs.answers = {QMessageBox::Cancel};
  ASSERT_TRUE(start());
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text.rfind("L'applicazione Veltra non è associata", 0), 0u);
}

TEST_F(ConnectionCommandsTest, SconnettiWithoutADatabaseStillAsks) {
  installKey();
  dialogs.answers = {QMessageBox::Cancel, QMessageBox::Ok};
  ASSERT_TRUE(start());
  window().runCommand(CmdDisconnect);
  EXPECT_EQ(dialogs.texts().back(), "Confermi sconnessione database ?");
  EXPECT_TRUE(window().databasePath().empty());
}

TEST_F(ConnectionCommandsTest, ExitCancelledLeavesEverythingAsItWas) {
  startConnected();
  const std::string path = window().databasePath();
  dialogs.answers = {QMessageBox::Cancel};
  window().runCommand(CmdExit);
  ASSERT_EQ(dialogs.texts(), std::vector<std::string>{ExitQuestion});
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Question);
  EXPECT_TRUE(window().isVisible());
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(settings().database(), path);
}

TEST_F(ConnectionCommandsTest, TheWindowsCloseButtonAsksTheSameQuestion) {
  startConnected();
  dialogs.answers = {QMessageBox::Cancel, QMessageBox::Ok};
  EXPECT_FALSE(window().close());
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_TRUE(window().close());
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{ExitQuestion, ExitQuestion}));
  EXPECT_EQ(window().connection(), nullptr);
}

TEST_F(ConnectionCommandsTest, ExitSavesTheDatabaseConnectedLast) {
  startConnected();
  const std::string other = makeDatabase("altro.mdb");
  dialogs.files = {QString::fromStdString(other)};
  dialogs.answers = {QMessageBox::Ok};
  window().runCommand(CmdConnect);
  window().runCommand(CmdExit);
  EXPECT_EQ(settings().database(), other);
}

// An INI file has no installer to create it: the program writes the key as
// it ends, so the next start does not warn about the installation again.
TEST_F(ConnectionCommandsTest, ExitWithoutTheInstallationKeyWritesTheIniFile) {
  dialogs.answers = {QMessageBox::Cancel, QMessageBox::Ok};
  ASSERT_TRUE(start());
  window().runCommand(CmdExit);
  EXPECT_TRUE(settings().keyExists());
  EXPECT_EQ(settings().database(), std::string());
}

TEST_F(ConnectionCommandsTest, AboutBoxWithoutADatabaseSaysNessuno) {
  installKey();
  dialogs.answers = {QMessageBox::Cancel};
  ASSERT_TRUE(start());
  window().runCommand(CmdAbout);
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  const ShownBox& about = dialogs.boxes[1];
  EXPECT_EQ(about.icon, QMessageBox::Information);
  EXPECT_EQ(about.buttons, QMessageBox::Ok);
  EXPECT_EQ(about.caption, "Veltra");
  EXPECT_EQ(about.text.rfind("INFORMAZIONI SUL PROGRAMMA\n\n"
                             "Veltra - \"DataBase Parco Bus - Regione Ombrena\"\n",
                             0),
            0u);
  EXPECT_NE(about.text.find("\nSistema operativo "), std::string::npos);
  const std::string ending = "\n\nDatabase: Nessuno";
  ASSERT_GE(about.text.size(), ending.size());
  EXPECT_EQ(about.text.substr(about.text.size() - ending.size()), ending);
}

TEST_F(ConnectionCommandsTest, AboutBoxNamesTheDatabaseAndTheEngineVersion) {
  startConnected();
  window().runCommand(CmdAbout);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  const std::string ending = "\n\nDatabase: " + window().databasePath() + " (Jet " +
                             window().connection()->EngineDatabase()->versionText() + ")";
  const std::string& text = dialogs.boxes[0].text;
  ASSERT_GE(text.size(), ending.size());
  EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
}

}  // namespace
}  // namespace veltra::testing
