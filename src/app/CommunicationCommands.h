#pragma once
// The commands of the Comunicazioni menu that are ready: importing a company
// communication into the current database.

namespace veltra::app {

class MainWindow;

void importCommunicationCommand(MainWindow& window);

}  // namespace veltra::app
