#pragma once
// A desktop program started on a settings file of its own in a fresh folder,
// with its dialogs answered by script.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ScriptedDialogs.h"
#include "app/Application.h"
#include "app/BusyIndicator.h"
#include "app/MainWindow.h"
#include "qt/AssociationSettings.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace veltra::testing {

// Keeps the time shown each time the busy indicator is painted during a
// long piece of work (while the wait cursor is up).
class PaintWatcher : public QObject {
 public:
  explicit PaintWatcher(app::BusyIndicator& indicator);
  bool eventFilter(QObject* watched, QEvent* event) override;
  std::vector<QString> shown;

 private:
  app::BusyIndicator& indicator_;
};

// The bytes of a file, to compare exports.
std::string fileBytes(const std::string& path);

class AppTest : public ::testing::Test {
 protected:
  void TearDown() override;

  qt::AssociationSettings settings() const { return qt::AssociationSettings(settingsFile); }
  // The key as an installer leaves it (with "Directory"), and "Database" when given.
  void installKey(const std::optional<std::string>& database = std::nullopt);
  // A real, empty database file that the program opens.
  std::string makeDatabase(const std::string& name);
  // A file that exists but is no database.
  std::string makeNonDatabase(const std::string& name);

  bool start();
  // Starts on a freshly made, associated database, with no question asked.
  void startConnected();
  // Starts on a complete register, as the office's own, holding the two
  // sample communications of company 12 when asked.
  void startOnRegister(bool withSamples = true);
  // veltra-cli on the started database.
  ProgramRun runCli(std::vector<std::string> args);
  // Chooses the menu item of the command, as the user does.
  void chooseMenuItem(int commandId);
  app::MainWindow& window() { return application->mainWindow(); }

  TempDir dir;
  QString settingsFile = QString::fromStdString(dir.file("veltra.ini"));
  ScriptedDialogs dialogs;
  std::unique_ptr<app::Application> application;
};

}  // namespace veltra::testing
