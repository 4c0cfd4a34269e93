#pragma once
// The commands of the company communications: importing a communication,
// exporting the company situations, the communications status, and the
// fleet situation text export of the Consultazione menu.

namespace veltra::app {

class MainWindow;

void importCommunicationCommand(MainWindow& window);
void exportCommunicationCommand(MainWindow& window);
void communicationsStatusCommand(MainWindow& window);
void fleetTextExportCommand(MainWindow& window);

}  // namespace veltra::app
