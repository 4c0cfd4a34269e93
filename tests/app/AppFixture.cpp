#include "AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <fstream>
#include <iterator>

#include "comms/ImportCommunication.h"
#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"
#include "schema/DatabaseCreation.h"
#include "support/RecordingPrompter.h"

namespace veltra::testing {

PaintWatcher::PaintWatcher(app::BusyIndicator& indicator) : indicator_(indicator) {
  indicator_.installEventFilter(this);
}

bool PaintWatcher::eventFilter(QObject* /*watched*/, QEvent* event) {
  const QCursor* cursor = QApplication::overrideCursor();
  if (event->type() == QEvent::Paint && cursor && cursor->shape() == Qt::WaitCursor)
    shown.push_back(indicator_.elapsedText());
  return false;
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void AppTest::TearDown() {
  // Whatever the test left, the window goes without asking anything more.
  application.reset();
}

void AppTest::installKey(const std::optional<std::string>& database) {
  auto store = settings();
  ASSERT_TRUE(store.saveDirectory(dir.path().string()));
  if (database) {
    ASSERT_TRUE(store.saveDatabase(*database));
  }
}

std::string AppTest::makeDatabase(const std::string& name) {
  const std::string path = dir.file(name);
  db::engine::EngineStatus status;
  auto database = db::engine::EngineDatabase::create(path, status);
  EXPECT_TRUE(database) << status.text;
  return path;
}

std::string AppTest::makeNonDatabase(const std::string& name) {
  const std::string path = dir.file(name);
  std::ofstream(path) << "Questo non e' un database, solo testo.\n";
  return path;
}

bool AppTest::start() {
  application = std::make_unique<app::Application>(settings(), &dialogs);
  return application->start();
}

void AppTest::startConnected() {
  installKey(makeDatabase("VELTRA.MDB"));
  ASSERT_TRUE(start());
  ASSERT_TRUE(window().hasOpenConnection());
  ASSERT_TRUE(dialogs.boxes.empty());
}

void AppTest::startOnRegister(bool withSamples) {
  const std::string path = dir.file("VELTRA.MDB");
  RecordingPrompter quiet;
  ASSERT_EQ(schema::BuildNewDatabase(quiet, path, "creato").outcome, ui::Outcome::Done);
  if (withSamples) {
    db::DatabaseConnection connection(quiet, path);
    for (const char* sample :
         {"VariazioniBusQz_12_20240315.txt", "VariazioniBusQz_12_20240930.txt"}) {
      quiet.files = {std::string(VELTRA_SOURCE_DIR) + "/examples/" + sample};
      ASSERT_EQ(comms::ImportCommunication(connection).outcome, ui::Outcome::Done);
    }
  }
  installKey(path);
  ASSERT_TRUE(start());
  ASSERT_TRUE(window().hasOpenConnection());
}

ProgramRun AppTest::runCli(std::vector<std::string> args) {
  args.insert(args.begin(), {"--db", window().databasePath()});
  ProgramRun run = runProgram(VELTRA_CLI_PATH, args, {"VELTRA_SETTINGS=" + dir.file("cli.ini")});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  return run;
}

void AppTest::chooseMenuItem(int commandId) {
  for (QAction* action : window().commandActions()) {
    if (action->data().toInt() != commandId) continue;
    ASSERT_TRUE(action->isEnabled());
    action->trigger();
    return;
  }
  ADD_FAILURE() << "no menu item for command " << commandId;
}

}  // namespace veltra::testing
