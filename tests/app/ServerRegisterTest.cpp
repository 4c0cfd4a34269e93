// The register on a database server from the desktop: the server dialog, the
// association that brings the program back to it, and Ripara and Duplica on it.

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <filesystem>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "app/ServerDialog.h"
#include "app/VehicleConsultationDialog.h"
#include "app/VehicleSelector.h"
#include "comms/ApplyCommunication.h"
#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"
#include "schema/DatabaseCreation.h"
#include "support/EngineTestSupport.h"
#include "support/RecordingPrompter.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::testing {
namespace {

using app::ServerDialog;

template <typename Field>
Field* field(QDialog& dialog, const char* name) {
  return dialog.findChild<Field*>(QString::fromLatin1(name));
}

// Fills the server dialog as the user types, then presses OK.
std::function<void(QDialog&)> fillServerDialog(QString host, int port, QString database,
                                               QString user) {
  return [=](QDialog& dialog) {
    field<QLineEdit>(dialog, ServerDialog::HostEditName)->setText(host);
    field<QSpinBox>(dialog, ServerDialog::PortEditName)->setValue(port);
    field<QLineEdit>(dialog, ServerDialog::DatabaseEditName)->setText(database);
    field<QLineEdit>(dialog, ServerDialog::UserEditName)->setText(user);
    field<QPushButton>(dialog, "IDOK")->click();
  };
}

TEST(ServerDialogTest, ComposesTheUriFromItsFieldsAndNeverAsksForAPassword) {
  ServerDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Database su server"));
  EXPECT_EQ(field<QLineEdit>(dialog, ServerDialog::HostEditName)->text(), "localhost");
  EXPECT_EQ(field<QSpinBox>(dialog, ServerDialog::PortEditName)->value(), 5432);
  for (const QLineEdit* edit : dialog.findChildren<QLineEdit*>())
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal) << edit->objectName().toStdString();
  // Without a database there is nothing to open.
  EXPECT_FALSE(field<QPushButton>(dialog, "IDOK")->isEnabled());

  field<QLineEdit>(dialog, ServerDialog::HostEditName)->setText(" db.ufficio ");
  field<QSpinBox>(dialog, ServerDialog::PortEditName)->setValue(6543);
  field<QLineEdit>(dialog, ServerDialog::DatabaseEditName)->setText("registro");
  EXPECT_TRUE(field<QPushButton>(dialog, "IDOK")->isEnabled());
  EXPECT_EQ(dialog.uri(), "postgresql://db.ufficio:6543/registro");
  // What a URI reserves is encoded, so "@" or ":" in a name cannot become a password.
  field<QLineEdit>(dialog, ServerDialog::UserEditName)->setText("m.rossi:segreto@x");
  field<QLineEdit>(dialog, ServerDialog::DatabaseEditName)->setText("bus/2024");
  EXPECT_EQ(dialog.uri(), "postgresql://m.rossi%3Asegreto%40x@db.ufficio:6543/bus%2F2024");
  EXPECT_FALSE(db::engine::EngineDatabase::carriesPassword(dialog.uri()));
}

class ServerRegisterTest : public AppTest {
 protected:
  void SetUp() override {
    ASSERT_FALSE(requireTestServer().empty());
    locator = newRegisterLocator(TestEngine::Server, dir);
    RecordingPrompter quiet;
    ASSERT_EQ(schema::BuildNewDatabase(quiet, locator, "creato").outcome, ui::Outcome::Done);
    const QUrl url(QString::fromStdString(locator));
    name = url.path().mid(1);
    const QString query = url.query();
    socketFolder = query.mid(query.indexOf(QStringLiteral("host=")) + 5).section('&', 0, 0);
    // The test server may listen on any port, named in the query or the authority.
    const QString queryPort = QUrlQuery(url).queryItemValue(QStringLiteral("port"));
    port = queryPort.isEmpty() ? url.port(5432) : queryPort.toInt();
  }
  // The user picks the server button in the file dialog and fills the server dialog.
  void chooseServerRegister(const QString& database,
                            const QString& user = QStringLiteral("postgres")) {
    dialogs.files.push_back(ScriptedDialogs::ServerButton);
    dialogs.dialogScripts.push_back(fillServerDialog(socketFolder, port, database, user));
  }
  std::string composedUri() const {
    return "postgresql://postgres@" +
           QString::fromLatin1(QUrl::toPercentEncoding(socketFolder)).toStdString() + ":" +
           std::to_string(port) + "/" + name.toStdString();
  }
  QString statusText() { return window().statusBar()->findChild<QLabel*>()->text(); }

  std::string locator;
  QString name;
  QString socketFolder;
  int port = 5432;
};

TEST_F(ServerRegisterTest, ConnettiOnAServerIsNamedAndKeptForTheNextStart) {
  startConnected();
  chooseServerRegister(name);
  window().runCommand(app::CmdConnect);
  ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.texts().front();
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(window().databasePath(), composedUri());
  EXPECT_EQ(statusText(),
            "Database: " + name + " sul server " + socketFolder + ":" + QString::number(port));

  dialogs.answers = {QMessageBox::Ok};
  window().runCommand(app::CmdExit);
  EXPECT_EQ(settings().database(), composedUri());
  application.reset();
  ASSERT_TRUE(start());
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(window().databasePath(), composedUri());
}

TEST_F(ServerRegisterTest, AServerThatCannotOpenTheRegisterLeavesTheCurrentOne) {
  startConnected();
  const std::string before = window().databasePath();
  chooseServerRegister(QStringLiteral("nessun_registro_qui"));
  window().runCommand(app::CmdConnect);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_NE(dialogs.boxes[0].text.find("nessun_registro_qui"), std::string::npos);
  EXPECT_TRUE(window().hasOpenConnection());
  EXPECT_EQ(window().databasePath(), before);
  dialogs.answers = {QMessageBox::Ok};
  window().runCommand(app::CmdExit);
  EXPECT_EQ(settings().database(), before);
}

// A server that does not open the register at start lets the user try
// again, says why in Italian, and keeps its association for the next start;
// the program runs meanwhile without a register.
TEST_F(ServerRegisterTest, AServerNotReachedAtStartOffersARetryAndStaysAssociated) {
  std::string absent = locator;
  absent.insert(absent.find(name.toStdString()) + name.size(), "_assente");
  installKey(absent);
  dialogs.answers = {QMessageBox::Ok, QMessageBox::Cancel};
  ASSERT_TRUE(start());
  const std::string box =
      "Errore in fase di apertura del database\n\nImpossibile collegarsi al "
      "database " +
      name.toStdString() + "_assente sul server " + socketFolder.toStdString() +
      ":5432.\n\nIl database indicato non esiste sul server.\n\n"
      "Premere OK per riprovare il collegamento,\n"
      "Annulla per continuare senza database.";
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{box, box}));
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Warning);
  EXPECT_FALSE(window().hasOpenConnection());
  dialogs.answers = {QMessageBox::Ok};
  window().runCommand(app::CmdExit);
  EXPECT_EQ(settings().database(), absent);
}

// "Database su server..." offers the server, port, database and user of the last time.
TEST_F(ServerRegisterTest, TheServerDialogOffersTheLastServerAgain) {
  startConnected();
  chooseServerRegister(name);
  window().runCommand(app::CmdConnect);
  ASSERT_TRUE(window().hasOpenConnection());
  QString offered;
  dialogs.files.push_back(ScriptedDialogs::ServerButton);
  dialogs.dialogScripts.push_back([&offered](QDialog& dialog) {
    offered = QStringLiteral("%1 %2 %3 %4")
                  .arg(field<QLineEdit>(dialog, ServerDialog::HostEditName)->text())
                  .arg(field<QSpinBox>(dialog, ServerDialog::PortEditName)->value())
                  .arg(field<QLineEdit>(dialog, ServerDialog::DatabaseEditName)->text())
                  .arg(field<QLineEdit>(dialog, ServerDialog::UserEditName)->text());
  });
  window().runCommand(app::CmdConnect);
  EXPECT_EQ(offered, socketFolder + " 5432 " + name + " postgres");
}

// The card over a register whose server went away: a session the server
// ended is opened again unseen; a database gone is one box with the retry,
// whose "Annulla" lets the register go and closes the dialog.
TEST_F(ServerRegisterTest, TheCardMeetsAServerGoneWithOneBox) {
  {
    RecordingPrompter quiet;
    db::DatabaseConnection connection(quiet, locator);
    ASSERT_TRUE(
        comms::ApplyCommunication(connection, SyntheticCommunication(12, "15/01/2024", 3)).done());
  }
  installKey(locator);
  ASSERT_TRUE(start());
  const auto endSessions = [](const std::string& sql) {
    const ProgramRun run = runProgram("/usr/bin/psql", {testServer(), "-c", sql});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
  };
  QString firstCard;
  bool closedItself = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<app::VehicleConsultationDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    QListView* list = dialog->selector().list();
    endSessions("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                name.toStdString() + "' AND pid <> pg_backend_pid()");
    list->setCurrentIndex(list->model()->index(0, 0));
    firstCard = dialog->cardText().toPlainText();
    endSessions("DROP DATABASE \"" + name.toStdString() + "\" WITH (FORCE)");
    dialogs.answers = {QMessageBox::Cancel};
    list->setCurrentIndex(list->model()->index(1, 0));
    closedItself = !dialog->isVisible();
    if (!closedItself) dialog->reject();
  });
  window().runCommand(app::CmdVehicleCard);
  EXPECT_TRUE(firstCard.startsWith("Azienda utilizzatrice: ")) << firstCard.toStdString();
  ASSERT_EQ(dialogs.boxes.size(), 1u) << dialogs.texts().front();
  EXPECT_TRUE(dialogs.boxes[0].text.ends_with(
      "\n\nPremere OK per riprovare il collegamento,\nAnnulla per scollegare il database."))
      << dialogs.boxes[0].text;
  EXPECT_TRUE(closedItself);
  EXPECT_FALSE(window().hasOpenConnection());
}

TEST_F(ServerRegisterTest, RiparaOffersNoServerAndDuplicaCopiesTheRegisterIntoAFile) {
  startConnected();
  window().runCommand(app::CmdRepairDatabase);
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_FALSE(dialogs.fileDialogs[0].offersServer) << "a repair works on a file only";

  const std::string copy = dir.file("COPIA.MDB");
  chooseServerRegister(name);
  dialogs.files.push_back(QString::fromStdString(copy));
  window().runCommand(app::CmdDuplicateDatabase);
  EXPECT_TRUE(dialogs.fileDialogs[1].offersServer);
  EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.texts().front();
  db::engine::EngineStatus status;
  const auto copied = db::engine::EngineDatabase::open(copy, status);
  ASSERT_TRUE(copied) << status.text;
  const auto original = db::engine::EngineDatabase::open(locator, status);
  ASSERT_TRUE(original) << status.text;
  auto copiedTables = copied->tableNames(), originalTables = original->tableNames();
  std::ranges::sort(copiedTables);
  std::ranges::sort(originalTables);
  EXPECT_FALSE(originalTables.empty());
  EXPECT_EQ(copiedTables, originalTables);
}

// A clerk's role granted SELECT only: the status bar says so, and an import
// is refused at once, before a file is asked for.
TEST_F(ServerRegisterTest, ARoleThatMayOnlyReadIsShownAndRefusesAnImport) {
  const std::string role = "lettore_app_" + std::to_string(QCoreApplication::applicationPid());
  db::engine::EngineStatus status;
  const auto admin = db::engine::EngineDatabase::open(locator, status);
  ASSERT_TRUE(admin) << status.text;
  for (const std::string& sql : {"DO $$ BEGIN CREATE ROLE " + role +
                                     " LOGIN; EXCEPTION WHEN duplicate_object THEN NULL; END $$",
                                 "GRANT SELECT ON ALL TABLES IN SCHEMA public TO " + role})
    ASSERT_TRUE(admin->execute(sql)) << sql;
  startConnected();
  chooseServerRegister(name, QString::fromStdString(role));
  window().runCommand(app::CmdConnect);
  ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.texts().front();
  EXPECT_TRUE(statusText().endsWith(QStringLiteral(" (sola lettura)")))
      << statusText().toStdString();
  const size_t filesAsked = dialogs.fileDialogs.size();
  window().runCommand(app::CmdImportCommunication);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_NE(dialogs.boxes[0].text.find("può solo consultarlo"), std::string::npos);
  EXPECT_EQ(dialogs.fileDialogs.size(), filesAsked);
}

}  // namespace
}  // namespace veltra::testing
