#include "app/MainWindow.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>

#include "app/AppCommands.h"
#include "app/BackgroundView.h"
#include "app/BusyIndicator.h"
#include "app/CommandIds.h"
#include "app/MainMenu.h"
#include "app/Pictures.h"
#include "app/ReportWindow.h"
#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"
#include "qt/AssociationSettings.h"
#include "schema/Association.h"

namespace veltra::app {

MainWindow::MainWindow(qt::AssociationSettings& settings, DialogRunner* runner)
    : settings_(settings),
      centre_(new QStackedWidget(this)),
      background_(new BackgroundView(centre_)),
      indicator_(new BusyIndicator(this)),
      folders_(settings),
      prompter_(*this, *indicator_, runner, &folders_) {
  setWindowTitle(QStringLiteral("VELTRA"));
  setWindowIcon(pictures::applicationIcon());
  placeAtDefaultGeometry();
  centre_->addWidget(background_);
  setCentralWidget(centre_);

  databaseLabel_ = new QLabel(this);
  statusBar()->addWidget(databaseLabel_, 1);
  menuActions_ = buildMainMenu(*menuBar());
  for (QAction* action : menuActions_) {
    connect(action, &QAction::triggered, this,
            [this, id = action->data().toInt()] { runCommand(id); });
  }
  // The standard print command has no menu item: its key reaches the report shown.
  auto* print = new QAction(this);
  print->setShortcut(QKeySequence::Print);
  addAction(print);
  connect(print, &QAction::triggered, this, [this] { runCommand(CmdPrint); });

  // The event loop is about to wait: nothing is left to do.
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &MainWindow::idleStep);
  updateCommandStates();
}

MainWindow::~MainWindow() {
  finish();
}

// The place the window returns to from maximised, and where it stays on a
// display without a window manager: most of the screen, centred.
void MainWindow::placeAtDefaultGeometry() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  resize(available.size() * 3 / 4);
  move(available.center() - rect().center());
}

bool MainWindow::hasOpenConnection() const {
  return connection_ && connection_->IsOpen();
}

bool MainWindow::openCurrentDatabase() {
  connection_.reset();
  if (path_.empty()) return true;
  // At start a server may just be starting too: the user may try again.
  connection_ = std::make_unique<db::DatabaseConnection>(
      prompter_, path_, db::DatabaseConnection::WhenUnreachable::OfferRetry);
  const bool open = connection_->IsOpen();
  if (!open) {
    // The connection has shown why; the path goes with it, so the next
    // start does not stumble on the same file. A server that did not answer
    // stays associated: the next start tries it again.
    if (!connection_->Unreachable()) path_.clear();
    connection_.reset();
  }
  updateCommandStates();
  return open;
}

bool MainWindow::switchToDatabase(const std::string& path) {
  auto opened = std::make_unique<db::DatabaseConnection>(prompter_, path);
  if (!opened->IsOpen()) return false;
  connection_ = std::move(opened);
  path_ = path;
  updateCommandStates();
  return true;
}

void MainWindow::disconnectDatabase() {
  connection_.reset();
  updateCommandStates();
}

void MainWindow::refreshTitle() {
  setWindowTitle(QString::fromUtf8(ProgramTitle));
}

void MainWindow::repaintNow() {
  repaint();
}

bool MainWindow::isCommandEnabled(int id) const {
  return !needsDatabase(id) || hasOpenConnection();
}

void MainWindow::runCommand(int id) {
  if (!isCommandEnabled(id)) return;
  if (needsDatabase(id) && !connectionStillInPlace()) return;
  const CommandFunction run = commandFunction(id);
  if (run == nullptr) return;
  Operation operation(*this);
  run(*this);
  // The command found the register gone and the user let it go.
  if (connection_ && connection_->GivenUp()) disconnectDatabase();
}

// A database deleted or moved while connected is said so, and let go: the
// commands that need one wait for the next Connetti.
bool MainWindow::connectionStillInPlace() {
  if (connection_->StillInPlace()) return true;
  disconnectDatabase();
  return false;
}

void MainWindow::requestExit() {
  if (!schema::confirmExit(prompter_)) return;
  exitConfirmed_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // While a command works, the window stays: closing it would pull the
  // database from under the command.
  if (exitConfirmed_ || (operations_ == 0 && schema::confirmExit(prompter_))) {
    finish();
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::finish() {
  if (finished_) return;
  finished_ = true;
  disconnectDatabase();
  // The next start opens what is current now; a failed write changes nothing.
  settings_.saveDatabaseAtExit(path_);
}

void MainWindow::updateCommandStates() {
  for (QAction* action : menuActions_) action->setEnabled(isCommandEnabled(action->data().toInt()));
  showOpenDatabase();
}

// So that nobody imports into the wrong register.
void MainWindow::showOpenDatabase() {
  databaseLabel_->setText(
      hasOpenConnection()
          ? QStringLiteral("Database: %1%2")
                .arg(QString::fromStdString(db::engine::EngineDatabase::displayName(path_)),
                     connection_->ReadOnly() ? QStringLiteral(" (sola lettura)") : QString())
          : QStringLiteral("Nessun database collegato"));
}

void MainWindow::showReportWindow(ReportWindow* view) {
  closeReportWindow();
  report_ = view;
  centre_->addWidget(view);
  centre_->setCurrentWidget(view);
  repaintNow();
}

void MainWindow::closeReportWindow() {
  if (!report_) return;
  centre_->removeWidget(report_);
  // Later, as the view may be the one asking.
  report_->deleteLater();
  report_ = nullptr;
  refreshTitle();
  repaintNow();
}

void MainWindow::idleStep() {
  indicator_->stopAtIdle();
  if (report_ && report_->isFinished()) closeReportWindow();
}

}  // namespace veltra::app
