#include "app/MainMenu.h"

#include <QMenu>
#include <QMenuBar>

#include "app/CommandIds.h"

namespace veltra::app {

namespace {

constexpr MenuEntry Entries[] = {
    {MenuEntry::Popup, "&Database", 0},
    {MenuEntry::Item, "&Crea", CmdCreateDatabase},
    {MenuEntry::Item, "&Connetti", CmdConnect},
    {MenuEntry::Item, "&Sconnetti", CmdDisconnect},
    {MenuEntry::Separator, "", 0},
    {MenuEntry::Item, "&Ripara", CmdRepairDatabase},
    {MenuEntry::Item, "&Duplica", CmdDuplicateDatabase},
    {MenuEntry::Popup, "Comunicazioni", 0},
    {MenuEntry::Item, "&Situazione Comunicazioni Aziendali", CmdCommunicationsStatus},
    {MenuEntry::Separator, "", 0},
    {MenuEntry::Item, "&Import Comunicazione", CmdImportCommunication},
    {MenuEntry::Item, "&Export Comunicazione", CmdExportCommunication},
    {MenuEntry::Popup, "Consultazione", 0},
    {MenuEntry::Item, "Scheda &Mezzo", CmdVehicleCard},
    {MenuEntry::Item, "Scheda &Storica", CmdHistoryCard},
    {MenuEntry::Separator, "", 0},
    {MenuEntry::Item, "Rubrica Mezzi x &Azienda", CmdListByCompany},
    {MenuEntry::Item, "Rubrica Mezzi x A&mbito", CmdListByAmbit},
    {MenuEntry::Item, "Rubrica Mezzi x &Finanziamento", CmdFinancingList},
    {MenuEntry::Item, "Statistiche &Parco", CmdFleetStatistics},
    {MenuEntry::Separator, "", 0},
    {MenuEntry::Item, "&Esportazione TXT", CmdFleetTextExport},
    {MenuEntry::BarCommand, "&Verifica", CmdVerification},
    {MenuEntry::BarCommand, "&Fine", CmdExit},
    {MenuEntry::BarCommand, "&?", CmdAbout},
};

QAction* commandAction(QAction* action, int id) {
  action->setData(id);
  return action;
}

}  // namespace

std::span<const MenuEntry> mainMenuEntries() {
  return Entries;
}

std::vector<QAction*> buildMainMenu(QMenuBar& bar) {
  std::vector<QAction*> actions;
  QMenu* popup = nullptr;
  for (const MenuEntry& entry : Entries) {
    const QString text = QString::fromUtf8(entry.text);
    switch (entry.kind) {
      case MenuEntry::Popup:
        popup = bar.addMenu(text);
        break;
      case MenuEntry::Item:
        actions.push_back(commandAction(popup->addAction(text), entry.id));
        break;
      case MenuEntry::Separator:
        popup->addSeparator();
        break;
      case MenuEntry::BarCommand:
        actions.push_back(commandAction(bar.addAction(text), entry.id));
        break;
    }
  }
  return actions;
}

}  // namespace veltra::app
