#pragma once
// The main window: the menu, the picture or the report view, the busy
// indicator, and the current database (its path and its connection).
// Commands find the database through it.

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/QtPrompter.h"
#include "app/RecentFolders.h"
#include "app/ReportWindow.h"

class QAction;
class QDialog;
class QLabel;
class QStackedWidget;

namespace veltra::qt {
class AssociationSettings;
}
namespace veltra::db {
class DatabaseConnection;
}

namespace veltra::app {

class BackgroundView;
class BusyIndicator;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // settings: where the association is saved when the window goes; it must
  // outlive the window. runner: how dialogs run (none: modally).
  MainWindow(qt::AssociationSettings& settings, DialogRunner* runner = nullptr);
  ~MainWindow() override;

  static constexpr const char* ProgramTitle =
      "Veltra - \"Rilevazione Parco Bus - Regione Ombrena\"";

  // The current database, named in the status bar while connected.
  const std::string& databasePath() const { return path_; }
  void setDatabasePath(std::string path) { path_ = std::move(path); }
  db::DatabaseConnection* connection() const { return connection_.get(); }
  bool hasOpenConnection() const;
  // Opens the current path as the current connection; true when there is no
  // path or it opened. A file that does not open leaves no path and no connection.
  bool openCurrentDatabase();
  // Opens the register at path and, once it is open, lets the current one
  // go for it; when it cannot be opened (the user has been told) the
  // current one stays, with its path.
  bool switchToDatabase(const std::string& path);
  // Closes the current connection, if any; the path stays.
  void disconnectDatabase();
  void refreshTitle();
  // Repaints the whole window at once.
  void repaintNow();

  ui::Prompter& prompter() { return prompter_; }
  // Runs one of the program's dialogs over the window: QDialog::Accepted or Rejected.
  int runDialog(QDialog& dialog) { return prompter_.runDialog(dialog); }
  BusyIndicator& busyIndicator() { return *indicator_; }

  // Commands, by id. A command that is not enabled is ignored.
  bool isCommandEnabled(int id) const;
  void runCommand(int id);
  // The menu's command actions, in menu order.
  const std::vector<QAction*>& commandActions() const { return menuActions_; }
  // Asks the exit question; on OK the window closes and the association is saved.
  void requestExit();

  // The report view in the picture's place; the window takes ownership. The
  // caption becomes the report's once it has something to show.
  void showReportWindow(ReportWindow* view);
  void closeReportWindow();
  ReportWindow* reportWindow() const { return report_; }

  // What the application does whenever it has nothing else to do.
  void idleStep();

  // Marks a stretch of work (a command, or the start-up) during which the
  // window must not be closed under it.
  class Operation {
   public:
    explicit Operation(MainWindow& window) : window_(window) { ++window_.operations_; }
    ~Operation() { --window_.operations_; }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

   private:
    MainWindow& window_;
  };

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void placeAtDefaultGeometry();
  bool connectionStillInPlace();
  void finish();
  void updateCommandStates();
  void showOpenDatabase();

  qt::AssociationSettings& settings_;
  QStackedWidget* centre_;
  BackgroundView* background_;
  QPointer<ReportWindow> report_;
  BusyIndicator* indicator_;
  QLabel* databaseLabel_ = nullptr;
  RecentFolders folders_;
  QtPrompter prompter_;
  std::vector<QAction*> menuActions_;
  std::string path_;
  // Declared after the prompter it reports through, so it goes first.
  std::unique_ptr<db::DatabaseConnection> connection_;
  int operations_ = 0;
  bool exitConfirmed_ = false;
  bool finished_ = false;
};

}  // namespace veltra::app
