#pragma once
// Consultazione > Scheda Mezzo (command 5111): dialog 117, "Scheda Informativa
// Mezzo", the current data of the vehicle chosen in the selector.

#include "app/VehicleConsultationDialog.h"

namespace veltra::app {

class MainWindow;

class VehicleCardDialog : public VehicleConsultationDialog {
  Q_OBJECT
 public:
  VehicleCardDialog(db::DatabaseConnection& connection, QWidget* parent = nullptr);
};

// Runs the dialog over the window's database until the user closes it.
void vehicleCardCommand(MainWindow& window);

}  // namespace veltra::app
