#include "app/DatabaseCommands.h"

#include <filesystem>
#include <system_error>

#include "app/MainWindow.h"
#include "db/engine/EngineDatabase.h"
#include "schema/Association.h"
#include "schema/DatabaseCreation.h"
#include "schema/DatabaseFiles.h"
#include "schema/DatabaseMaintenance.h"

namespace veltra::app {

// A new file is used only after Connetti: the current database stays.
void createDatabaseCommand(MainWindow& window) {
  schema::CreateDatabaseCommand(window.prompter());
}

void connectCommand(MainWindow& window) {
  const auto path =
      window.prompter().openFile(schema::openDatabaseChoice("Selezione del Database"));
  if (!path) return;
  // A server that does not answer must not cost the office the register it
  // works on: the server's register is opened first, the current one let go
  // only once it is. A file is let go first, as it always was.
  if (db::engine::EngineDatabase::isServerLocator(*path)) {
    window.switchToDatabase(*path);
  } else {
    window.disconnectDatabase();
    window.setDatabasePath(*path);
    window.openCurrentDatabase();
  }
  window.refreshTitle();
  window.repaintNow();
}

void disconnectCommand(MainWindow& window) {
  if (schema::confirmDisconnect(window.prompter())) {
    window.disconnectDatabase();
    window.setDatabasePath({});
    window.refreshTitle();
  }
  window.repaintNow();
}

void repairDatabaseCommand(MainWindow& window) {
  // A repair may put a rebuilt file in the place of the damaged one; a
  // connection left open would go on writing into the file set aside. So the
  // current database, when it is the file repaired, is closed around the
  // repair and opened again after it; another file leaves it connected.
  bool closed = false;
  schema::RepairDatabaseCommand(window.prompter(), [&window, &closed](const std::string& path) {
    std::error_code error;
    if (!window.hasOpenConnection() ||
        !std::filesystem::equivalent(path, window.databasePath(), error))
      return;
    window.disconnectDatabase();
    closed = true;
  });
  if (closed) window.openCurrentDatabase();
}

void duplicateDatabaseCommand(MainWindow& window) {
  schema::DuplicateDatabaseCommand(window.prompter());
}

}  // namespace veltra::app
