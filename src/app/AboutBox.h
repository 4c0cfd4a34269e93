#pragma once
// The about box: the program, the system it runs on and the database in use.

namespace veltra::app {

class MainWindow;

void aboutCommand(MainWindow& window);

}  // namespace veltra::app
