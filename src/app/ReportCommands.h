#pragma once
// The printed reports from the desktop. Every report runs the same way: its
// selection dialog, then the print view in the main window's place, the rows
// loaded under the busy indicator, and the preview or the printer as the
// dialog chose.

namespace veltra::app {

class MainWindow;

// Consultazione > Rubrica Mezzi x Azienda (5114) and x Ambito (5115).
void vehicleListByCompanyCommand(MainWindow& window);
void vehicleListByAmbitCommand(MainWindow& window);

// Consultazione > Rubrica Mezzi x Finanziamento (5116).
void financingListCommand(MainWindow& window);

// Verifica (5117): which of the companies under observation communicated in a period.
void verificationCommand(MainWindow& window);

// Consultazione > Statistiche Parco (5118): the fleet figures at a date, in tables and charts.
void fleetStatisticsCommand(MainWindow& window);

}  // namespace veltra::app
