#include "app/CommunicationCommands.h"

#include "app/MainWindow.h"
#include "comms/ImportCommunication.h"

namespace veltra::app {

void importCommunicationCommand(MainWindow& window) {
  if (db::DatabaseConnection* connection = window.connection())
    comms::ImportCommunication(*connection);
  window.repaintNow();
}

}  // namespace veltra::app
