#include "app/Application.h"

#include "app/MainWindow.h"
#include "schema/DefaultDatabase.h"

namespace veltra::app {

namespace {

constexpr char CreateQuestionText[] =
    "L'applicazione Veltra non è associata ad un database.\n\n"
    "Prima di iniziare ad operare con Veltra è necessario\n"
    "creare un database vuoto oppure occorre associare un\n"
    "database già esistente.\n\n"
    "Intendi procedere alla creazione di un nuovo database ?";

constexpr char NoDatabaseText[] =
    "Non è stato possibile associare un database valido.\n\n"
    "Non è pertanto possibile procedere oltre !!!\n\n";

}  // namespace

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
  readAssociation();
  if (window.databasePath().empty() && !askToCreate()) {
    window.prompter().message(NoDatabaseText, ui::Icon::Stop, ui::Buttons::Ok, {});
    return false;
  }
  window.openCurrentDatabase();
  window.refreshTitle();
  return true;
}

void Application::readAssociation() {
  if (!settings_.keyExists()) {
    window_->prompter().message(schema::InstallationWarning, ui::Icon::Stop, ui::Buttons::Ok, {});
    return;
  }
  if (auto path = settings_.database()) window_->setDatabasePath(std::move(*path));
}

bool Application::askToCreate() {
  ui::Prompter& prompter = window_->prompter();
  if (prompter.message(CreateQuestionText, ui::Icon::Question, ui::Buttons::OkCancel, {}) ==
      ui::Answer::Cancel)
    return true;
  return createDefaultDatabase();
}

bool Application::createDefaultDatabase() {
  // The creation warns again when the key cannot be opened; a missing or
  // unreadable "Directory" is just no directory.
  std::optional<std::string> directory;
  if (settings_.keyExists()) directory = settings_.directory().value_or(std::string());
  const schema::DefaultDatabase created =
      schema::CreateDefaultDatabase(window_->prompter(), directory);
  if (created.becomesCurrent()) window_->setDatabasePath(created.path);
  return created.created();
}

}  // namespace veltra::app
