// The start-up: the association read from the settings, the first-start
// question, the opening of the associated file.

#include <QMessageBox>
#include <QSettings>

#include "AppFixture.h"
#include "db/DatabaseConnection.h"

namespace veltra::testing {
namespace {

const std::string AnomalyText =
    "ATTENZIONE: è stata riscontrata una anomalia grave\n"
    "che rende impossibile il corretto funzionamento di\n"
    "questo programma.\n\n"
    "Ipotesi A) Il prodotto non è stato installato nella\n"
    "           maniera corretta, utilizzando Setup.\n\n"
    "Ipotesi B) Il registro di configurazione di Windows\n"
    "           si è corrotto e deve essere ripristinato.\n\n";

const std::string CreateQuestion =
    "L'applicazione Veltra non è associata ad un database.\n\n"
    "Prima di iniziare ad operare con Veltra è necessario\n"
    "creare un database vuoto oppure occorre associare un\n"
    "database già esistente.\n\n"
    "Intendi procedere alla creazione di un nuovo database ?";

const QString ProgramTitle = QStringLiteral("Veltra - \"Rilevazione Parco Bus - Regione Ombrena\"");

class StartupTest : public AppTest {};

TEST_F(StartupTest, AnAssociatedDatabaseOpensWithoutAQuestion) {
  const std::string path = makeDatabase("VELTRA.MDB");
  installKey(path);
  ASSERT_TRUE(start());
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(window().databasePath(), path);
  EXPECT_TRUE(window().isMaximized());
  EXPECT_TRUE(window().isVisible());
  EXPECT_EQ(window().windowTitle(), ProgramTitle);
}

TEST_F(StartupTest, NoAssociationAsksToCreateAndCancelRunsWithoutADatabase) {
  installKey();
  dialogs.answers = {QMessageBox::Cancel};
  ASSERT_TRUE(start());
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, CreateQuestion);
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Question);
  EXPECT_EQ(dialogs.boxes[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(window().connection(), nullptr);
  EXPECT_TRUE(window().databasePath().empty());
  EXPECT_FALSE(window().isCommandEnabled(5108));
  EXPECT_EQ(window().windowTitle(), ProgramTitle);
}

TEST_F(StartupTest, AnEmptyAssociationCountsAsNone) {
  installKey("");
  dialogs.answers = {QMessageBox::Cancel};
  ASSERT_TRUE(start());
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{CreateQuestion});
}

TEST_F(StartupTest, AMissingSettingsFileWarnsThenAsksTheFirstStartQuestion) {
  dialogs.answers = {QMessageBox::Cancel};
  ASSERT_TRUE(start());
  ASSERT_EQ(dialogs.texts(), (std::vector<std::string>{AnomalyText, CreateQuestion}));
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Critical);
  EXPECT_EQ(dialogs.boxes[0].buttons, QMessageBox::Ok);
  EXPECT_EQ(window().connection(), nullptr);
}

TEST_F(StartupTest, ASettingsFileWithoutTheKeyWarnsLikeAMissingOne) {
  {
    QSettings other(settingsFile, QSettings::IniFormat);
    other.setValue(QStringLiteral("Software/Altro/Database"), QStringLiteral("/altrove.mdb"));
  }
  dialogs.answers = {QMessageBox::Cancel};
  ASSERT_TRUE(start());
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{AnomalyText, CreateQuestion}));
}

TEST_F(StartupTest, AValueTooLongForItsBufferCountsAsNoAssociation) {
  installKey(std::string(2048, 'x'));
  dialogs.answers = {QMessageBox::Cancel};
  ASSERT_TRUE(start());
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{CreateQuestion});
}

TEST_F(StartupTest, AnAssociatedFileThatDoesNotOpenIsReportedAndForgotten) {
  installKey(makeNonDatabase("VELTRA.MDB"));
  ASSERT_TRUE(start());
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text.rfind("Errore in fase di apertura del database\n\n", 0), 0u)
      << dialogs.boxes[0].text;
  EXPECT_EQ(window().connection(), nullptr);
  EXPECT_TRUE(window().databasePath().empty());
  EXPECT_FALSE(window().isCommandEnabled(5111));

  // At exit the empty path is written back, so the next start asks instead.
  dialogs.answers = {QMessageBox::Ok};
  window().requestExit();
  EXPECT_EQ(settings().database(), std::string());
}

TEST_F(StartupTest, ADeletedAssociatedFileIsReportedAndForgotten) {
  installKey(dir.file("sparito.mdb"));
  ASSERT_TRUE(start());
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text.rfind("Errore in fase di apertura del database\n\n", 0), 0u);
  EXPECT_TRUE(window().databasePath().empty());
}

TEST_F(StartupTest, CreatingAtTheFirstStartConnectsTheNewDatabase) {
  installKey();
  dialogs.answers = {QMessageBox::Ok};
  ASSERT_TRUE(start());
  const std::string created = dir.file("VELTRA.MDB");
  ASSERT_EQ(dialogs.texts(),
            (std::vector<std::string>{CreateQuestion,
                                      "Il database " + created + " è stato creato con successo"}));
  EXPECT_EQ(window().databasePath(), created);
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_TRUE(window().isCommandEnabled(5108));

  // The association at exit names the new file.
  dialogs.answers = {QMessageBox::Ok};
  window().requestExit();
  EXPECT_EQ(settings().database(), created);
}

TEST_F(StartupTest, ACreationThatFailsEndsTheProgram) {
  // The installation's folder is gone: the file cannot be created.
  auto store = settings();
  ASSERT_TRUE(store.saveDirectory(dir.file("cartella-sparita")));
  dialogs.answers = {QMessageBox::Ok};
  EXPECT_FALSE(start());
  ASSERT_GE(dialogs.boxes.size(), 3u);
  EXPECT_EQ(dialogs.boxes.back().text,
            "Non è stato possibile associare un database valido.\n\n"
            "Non è pertanto possibile procedere oltre !!!\n\n");
  EXPECT_EQ(dialogs.boxes.back().icon, QMessageBox::Critical);
  EXPECT_EQ(window().connection(), nullptr);
}

// Nothing installs the key on Linux: the program writes it as it ends, and
// the next start goes straight to the database it created.
TEST_F(StartupTest, AFirstStartWithoutSettingsCreatesUsesAndRemembersTheDatabase) {
  const bool hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.path().string()));
  dialogs.answers = {QMessageBox::Ok};
  const bool started = start();
  if (hadDataHome) {
    qputenv("XDG_DATA_HOME", saved);
  } else {
    qunsetenv("XDG_DATA_HOME");
  }
  ASSERT_TRUE(started);
  const std::string created = (dir.path() / "Veltra" / "VELTRA.MDB").string();
  EXPECT_EQ(dialogs.texts(),
            (std::vector<std::string>{AnomalyText, CreateQuestion, AnomalyText,
                                      "Il database " + created + " è stato creato con successo"}));
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(window().databasePath(), created);

  dialogs.answers = {QMessageBox::Ok};
  window().requestExit();
  application.reset();
  EXPECT_EQ(settings().database(), created);
  dialogs.boxes.clear();
  ASSERT_TRUE(start());
  EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.front().text;
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(window().databasePath(), created);
}

}  // namespace
}  // namespace veltra::testing
