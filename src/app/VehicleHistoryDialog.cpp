#include "app/VehicleHistoryDialog.h"

#include "app/MainWindow.h"
#include "reports/VehicleHistoryText.h"

namespace veltra::app {

VehicleHistoryDialog::VehicleHistoryDialog(db::DatabaseConnection& connection, QWidget* parent)
    : VehicleConsultationDialog(connection, QStringLiteral("Scheda Storica Mezzo"),
                                reports::SelectorFor::HistoryCard, reports::VehicleHistoryText,
                                parent) {}

void historyCardCommand(MainWindow& window) {
  if (db::DatabaseConnection* connection = window.connection())
    VehicleHistoryDialog(*connection, &window).exec();
}

}  // namespace veltra::app
