#pragma once
// The printed reports from the desktop. Every report runs the same way: its
// selection dialog, then the print view in the main window's place, the rows
// loaded under the busy indicator, and the preview or the printer as the
// dialog chose.

#include <functional>
#include <memory>

#include "reports/PrintReport.h"

namespace veltra::app {

class MainWindow;

// Loads the report's rows; false when reading them failed (already shown).
using RowLoader = std::function<bool()>;

// What follows an accepted selection dialog: the report shown, or the reason
// it is not.
void runReport(MainWindow& window, std::unique_ptr<reports::PrintReport> report,
               const RowLoader& loadRows, bool preview);

// Consultazione > Rubrica Mezzi x Azienda (5114) and x Ambito (5115).
void vehicleListByCompanyCommand(MainWindow& window);
void vehicleListByAmbitCommand(MainWindow& window);

// Consultazione > Rubrica Mezzi x Finanziamento (5116).
void financingListCommand(MainWindow& window);

// Verifica (5117): which of the companies under observation communicated in a period.
void verificationCommand(MainWindow& window);

}  // namespace veltra::app
