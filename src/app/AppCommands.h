#pragma once
// Which operation carries out each command id of the main window.

namespace veltra::app {

class MainWindow;

using CommandFunction = void (*)(MainWindow& window);

// The operation of a command id; none for an id without one.
CommandFunction commandFunction(int id);

}  // namespace veltra::app
