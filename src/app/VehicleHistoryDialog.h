#pragma once
// Consultazione > Scheda Storica (command 5112): dialog 118, "Scheda Storica
// Mezzo", the communications recorded for the vehicle chosen in the selector.

#include "app/VehicleConsultationDialog.h"

namespace veltra::app {

class MainWindow;

class VehicleHistoryDialog : public VehicleConsultationDialog {
  Q_OBJECT
 public:
  VehicleHistoryDialog(db::DatabaseConnection& connection, QWidget* parent = nullptr);
};

// Runs the dialog over the window's database until the user closes it.
void historyCardCommand(MainWindow& window);

}  // namespace veltra::app
