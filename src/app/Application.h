#pragma once
// The application object: builds the main window and opens in it the
// database the start-up rules choose.

#include <memory>

#include "qt/AssociationSettings.h"

namespace veltra::app {

class DialogRunner;
class MainWindow;

class Application {
 public:
  // runner: how dialogs run (none: modally, for the user).
  explicit Application(qt::AssociationSettings settings, DialogRunner* runner = nullptr);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The start-up; false when the program cannot go on and must end at once.
  bool start();

  // Valid after start.
  MainWindow& mainWindow() { return *window_; }

  static constexpr const char* StartTitle = "Veltra - \"Data Base Parco Bus - Regione Ombrena\"";

 private:
  qt::AssociationSettings settings_;
  DialogRunner* runner_;
  // After the settings: the window saves the association into them as it goes.
  std::unique_ptr<MainWindow> window_;
};

}  // namespace veltra::app
