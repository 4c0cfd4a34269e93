#include "app/Application.h"

#include "app/MainWindow.h"
#include "schema/Association.h"

namespace veltra::app {

Application::Application(qt::AssociationSettings settings, DialogRunner* runner)
    : settings_(std::move(settings)), runner_(runner) {}

Application::~Application() = default;

bool Application::start() {
  window_ = std::make_unique<MainWindow>(settings_, runner_);
  MainWindow& window = *window_;
  const MainWindow::Operation startUp(window);
  window.showMaximized();
  window.repaintNow();
  window.setWindowTitle(QString::fromUtf8(StartTitle));
  const schema::StartupDatabase startup =
      schema::associateAtStartup(window.prompter(), settings_.key());
  if (!startup.canRun) return false;
  window.setDatabasePath(startup.path);
  window.openCurrentDatabase();
  window.refreshTitle();
  return true;
}

}  // namespace veltra::app
