#pragma once
// The identifiers of the program's commands: every function is one of them.

namespace veltra::app {

enum CommandId : int {
  CmdExit = 5101,                  // &Fine
  CmdAbout = 5102,                 // &?
  CmdCreateDatabase = 5103,        // Database > &Crea
  CmdConnect = 5104,               // Database > &Connetti
  CmdDisconnect = 5105,            // Database > &Sconnetti
  CmdRepairDatabase = 5106,        // Database > &Ripara
  CmdDuplicateDatabase = 5107,     // Database > &Duplica
  CmdImportCommunication = 5108,   // Comunicazioni > &Import Comunicazione
  CmdExportCommunication = 5109,   // Comunicazioni > &Export Comunicazione
  CmdCommunicationsStatus = 5110,  // Comunicazioni > &Situazione Comunicazioni Aziendali
  CmdVehicleCard = 5111,           // Consultazione > Scheda &Mezzo
  CmdHistoryCard = 5112,           // Consultazione > Scheda &Storica
  CmdFleetTextExport = 5113,       // Consultazione > &Esportazione TXT
  CmdListByCompany = 5114,         // Consultazione > Rubrica Mezzi x &Azienda
  CmdListByAmbit = 5115,           // Consultazione > Rubrica Mezzi x A&mbito
  CmdFinancingList = 5116,         // Consultazione > Rubrica Mezzi x &Finanziamento
  CmdVerification = 5117,          // &Verifica
  CmdFleetStatistics = 5118,       // Consultazione > Statistiche &Parco
  CmdPrint = 57607,                // the standard print command, for the report view
};

// The commands from 5108 on work on data: they need an open database.
constexpr bool needsDatabase(int id) {
  return id >= CmdImportCommunication && id <= CmdFleetStatistics;
}

}  // namespace veltra::app
