#include "app/VehicleCardDialog.h"

#include "app/MainWindow.h"
#include "reports/VehicleCardText.h"

namespace veltra::app {

VehicleCardDialog::VehicleCardDialog(db::DatabaseConnection& connection, QWidget* parent)
    : VehicleConsultationDialog(connection, QStringLiteral("Scheda Informativa Mezzo"),
                                reports::SelectorFor::VehicleCard, reports::VehicleCardText,
                                parent) {}

void vehicleCardCommand(MainWindow& window) {
  if (db::DatabaseConnection* connection = window.connection())
    VehicleCardDialog(*connection, &window).exec();
}

}  // namespace veltra::app
