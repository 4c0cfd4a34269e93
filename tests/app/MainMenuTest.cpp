// The menu bar: its texts, order and command ids, and which commands are
// available with and without a database.

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "AppFixture.h"
#include "app/CommandIds.h"

namespace veltra::testing {
namespace {

using app::MainWindow;

// One line per bar entry, "Popup: item=id | - | ..." or "Command=id".
std::vector<std::string> describeMenuBar(QMenuBar& bar) {
  std::vector<std::string> lines;
  for (QAction* entry : bar.actions()) {
    if (QMenu* popup = entry->menu()) {
      std::string line = entry->text().toStdString() + ":";
      for (QAction* item : popup->actions()) {
        line += " ";
        line += item->isSeparator()
                    ? std::string("-")
                    : item->text().toStdString() + "=" + std::to_string(item->data().toInt());
      }
      lines.push_back(line);
    } else {
      lines.push_back(entry->text().toStdString() + "=" + std::to_string(entry->data().toInt()));
    }
  }
  return lines;
}

std::vector<int> enabledIds(const MainWindow& window) {
  std::vector<int> ids;
  for (QAction* action : window.commandActions())
    if (action->isEnabled()) ids.push_back(action->data().toInt());
  return ids;
}

class MainMenuTest : public AppTest {};

TEST_F(MainMenuTest, HoldsEveryCommandWithItsTextInMenuOrder) {
  startConnected();
  const std::vector<std::string> expected = {
      "&Database: &Crea=5103 &Connetti=5104 &Sconnetti=5105 - &Ripara=5106 &Duplica=5107",
      "Comunicazioni: &Situazione Comunicazioni Aziendali=5110 - &Import Comunicazione=5108 "
      "&Export Comunicazione=5109",
      "Consultazione: Scheda &Mezzo=5111 Scheda &Storica=5112 - Rubrica Mezzi x &Azienda=5114 "
      "Rubrica Mezzi x A&mbito=5115 Rubrica Mezzi x &Finanziamento=5116 Statistiche &Parco=5118 - "
      "&Esportazione TXT=5113",
      "&Verifica=5117",
      "&Fine=5101",
      "&?=5102",
  };
  EXPECT_EQ(describeMenuBar(*window().menuBar()), expected);
}

TEST_F(MainMenuTest, CommandActionsComeInMenuOrderAndLeaveOutThePrintCommand) {
  startConnected();
  std::vector<int> ids;
  for (QAction* action : window().commandActions()) ids.push_back(action->data().toInt());
  EXPECT_EQ(ids, (std::vector<int>{5103, 5104, 5105, 5106, 5107, 5110, 5108, 5109, 5111, 5112, 5114,
                                   5115, 5116, 5118, 5113, 5117, 5101, 5102}));
}

TEST_F(MainMenuTest, WithoutADatabaseOnlyDatabaseFineAndAboutAreEnabled) {
  installKey();
  dialogs.answers = {QMessageBox::Cancel};  // no database created at the first start
  ASSERT_TRUE(start());
  EXPECT_EQ(enabledIds(window()), (std::vector<int>{5103, 5104, 5105, 5106, 5107, 5101, 5102}));
  for (int id = app::CmdImportCommunication; id <= app::CmdFleetStatistics; ++id)
    EXPECT_FALSE(window().isCommandEnabled(id)) << id;
  EXPECT_TRUE(window().isCommandEnabled(app::CmdDisconnect));
}

TEST_F(MainMenuTest, WithAnOpenDatabaseEveryCommandIsEnabled) {
  startConnected();
  EXPECT_EQ(enabledIds(window()).size(), window().commandActions().size());
  for (int id = app::CmdExit; id <= app::CmdFleetStatistics; ++id)
    EXPECT_TRUE(window().isCommandEnabled(id)) << id;
}

// Crea and Connetti share their letter: each press moves between them, and
// nothing runs until Enter, as in any Windows menu.
TEST_F(MainMenuTest, ASharedAccessLetterMovesBetweenItsItems) {
  startConnected();
  window().show();
  QMenu* database = window().menuBar()->actions().front()->menu();
  int triggered = 0;
  QObject::connect(database, &QMenu::triggered, [&triggered] { ++triggered; });
  database->popup(window().mapToGlobal(QPoint(10, 10)));
  const auto press = [database](int key, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(database, &event);
    return database->activeAction() ? database->activeAction()->text() : QString();
  };
  EXPECT_EQ(press(Qt::Key_C, "c"), "&Crea");
  EXPECT_EQ(press(Qt::Key_C, "c"), "&Connetti");
  EXPECT_EQ(press(Qt::Key_C, "c"), "&Crea");
  EXPECT_EQ(triggered, 0);
  database->close();
}

}  // namespace
}  // namespace veltra::testing
