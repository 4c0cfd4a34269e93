#pragma once
// The commands of the Database menu: create, connect, disconnect, repair,
// duplicate.

namespace veltra::app {

class MainWindow;

void createDatabaseCommand(MainWindow& window);
void connectCommand(MainWindow& window);
void disconnectCommand(MainWindow& window);
void repairDatabaseCommand(MainWindow& window);
void duplicateDatabaseCommand(MainWindow& window);

}  // namespace veltra::app
