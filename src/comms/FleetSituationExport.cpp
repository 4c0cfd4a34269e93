#include "comms/FleetSituationExport.h"

#include "comms/DateInput.h"
#include "comms/ExportFile.h"
#include "comms/NumberText.h"
#include "comms/RecordLine.h"
#include "comms/VehicleQuery.h"
#include "comms/Windows1252.h"
#include "db/FieldValueText.h"
#include "db/QueryCursor.h"

namespace veltra::comms {

namespace {

constexpr const char* FileCaption = "Esportazione situazione mezzi";

// Column positions of the history query: then the vehicle block.
enum Column { Telaio, Data, Azienda, CompanyName, AmbitName, FirstVehicleField };

void selectHistoryUpTo(db::QueryCursor& query, const std::string& date) {
  query.SetSelect("storia.telaio, storia.data, storia.azienda, regazi.denom, regprv.denom, " +
                  VehicleFieldList("storia"));
  query.SetFrom("storia, regazi, regprv");
  query.SetWhere("storia.data <= #" + MonthDayYear(date) +
                 "# AND storia.azienda = regazi.codice AND storia.ambito = regprv.codice");
  query.SetOrderBy("storia.telaio, storia.data");
}

void readState(db::QueryCursor& query, SituationRow& row) {
  query.GetString(Telaio, row.telaio);
  db::TrimTrailingBlanks(row.telaio);
  query.GetString(Data, row.data);
  query.GetInt(Azienda, row.azienda);
  query.GetString(CompanyName, row.companyName);
  query.GetString(AmbitName, row.ambitName);
  ReadVehicleFields(query, FirstVehicleField, row);
}

bool isAsciiUpper(char c) {
  return c >= 'A' && c <= 'Z';
}

char asciiLower(char c) {
  return isAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

// The database tells chassis apart without regard to the case of ASCII
// letters (so does the history's order), hence so does the merge.
bool sameChassis(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

ui::FileChoice fleetFileChoice() {
  ui::FileChoice choice;
  choice.title = "Selezione file TXT per esportazione situazione mezzi";
  choice.filter = "File TXT (*.txt)|*.txt|Tutti i files (*.*)|*.*||";
  choice.defaultExtension = "TXT";
  choice.proposedName = "SituazioneMezzi";
  choice.confirmOverwrite = true;
  return choice;
}

class FleetFileWriter {
 public:
  explicit FleetFileWriter(ExportFile& file) : file_(file) {}

  // False when the line has a character Windows-1252 cannot hold.
  bool writeLine(std::string_view line) {
    const auto bytes = codec_.fromUtf8(line);
    if (!bytes) return false;
    file_.write(*bytes);
    file_.write("\r\n");
    return true;
  }

 private:
  ExportFile& file_;
  Windows1252Codec codec_;
};

bool writeFleetLines(FleetFileWriter& writer, const FleetExportChoice& choice,
                     SituationList& list) {
  for (const std::string& line : FleetHeaderLines(choice))
    if (!writer.writeLine(line)) return false;
  list.sort();
  for (const SituationRow* row : list.sorted())
    if (choice.filter.matches(*row) && !writer.writeLine(FleetDataLine(*row))) return false;
  return true;
}

}  // namespace

bool LoadFleetSituation(db::DatabaseConnection& connection, const std::string& date,
                        SituationList& list) {
  db::QueryCursor query(&connection);
  selectHistoryUpTo(query, date);
  SituationRow row;
  for (bool found = query.Execute(); found; found = query.NextRow()) {
    readState(query, row);
    // A later row spelling the chassis in other case is the same vehicle,
    // kept under the spelling it was first registered with.
    if (list.size() > 0 && row.telaio != list.rows().back().telaio &&
        sameChassis(row.telaio, list.rows().back().telaio))
      row.telaio = list.rows().back().telaio;
    list.addOrMerge(row);
  }
  return !query.Failed();
}

std::vector<std::string> FleetHeaderLines(const FleetExportChoice& choice) {
  const SituationFilter& filter = choice.filter;
  return {
      "Situazione mezzi al " + choice.date,
      filter.allCompanies
          ? std::string("Mezzi utilizzati da qualsiasi azienda")
          : "Esclusivamente mezzi utilizzati dall'Azienda=" + std::to_string(filter.azienda),
      filter.allAmbits
          ? std::string("Mezzi assegnati a qualsiasi ambito")
          : "Esclusivamente mezzi assegnati all'Ambito=" + std::to_string(filter.ambito),
      filter.activeOnly ? "Esclusi i mezzi già radiati" : "Compresi i mezzi già radiati",
      "",
      "Telaio\tUltimoAggiornamento\tProprietà\tAzienda\tDenomAzienda\tAmbito\tDenomAmbito"
      "\tInterno\tLibretto\tTarga\tPrimaImmatr\tMarcaTipo\tDataImmatr\tDestinazione"
      "\tCarrozzeria\tAlimentazione\tNroPostiSeduti\tNroPostiPiedi\tNroPostiCarrozzella"
      "\tLunghezza\tAltezzaPiano\tAriaCondizionata\tPedanaCarrozzella\tPrezzo"
      "\tContributoRegione\tAttoRegione\tAltriContributi\tDataImmissione"
      "\tDataDismissione\tDataRadiazione",
  };
}

std::string FleetDataLine(const SituationRow& row) {
  const std::string fields[] = {row.telaio,
                                row.data,
                                row.prop,
                                std::to_string(row.azienda),
                                row.companyName,
                                std::to_string(row.ambito),
                                row.ambitName,
                                row.interno,
                                row.libretto,
                                row.targa,
                                row.prima,
                                row.tipo,
                                row.dtimm,
                                row.dest,
                                row.carroz,
                                row.aliment,
                                std::to_string(row.sedere),
                                std::to_string(row.piedi),
                                std::to_string(row.handicap),
                                LengthText(row.lung),
                                HeightText(row.altezza),
                                std::string(1, FlagFileChar(row.aria)),
                                std::string(1, FlagFileChar(row.pedana)),
                                AmountText(row.prezzo),
                                AmountText(row.contrib),
                                row.atto,
                                AmountText(row.contrib2),
                                row.datini,
                                row.datfin,
                                row.datrad};
  return TabSeparated(fields);
}

FleetExportStatus ExportFleetSituation(db::DatabaseConnection& connection,
                                       const FleetExportChoice& choice) {
  ui::Prompter& prompter = connection.prompter();
  prompter.beginBusy(true);
  SituationList list;
  if (!LoadFleetSituation(connection, choice.date, list)) return FleetExportStatus::Failed;
  if (list.countMatching(choice.filter) == 0) {
    prompter.message(NothingToExportMessage, ui::Icon::Stop);
    return FleetExportStatus::Empty;
  }
  const auto path = prompter.saveFile(fleetFileChoice());
  if (!path) return FleetExportStatus::Cancelled;
  ExportFile file(*path, prompter, FileCaption);
  if (!file.create()) return FleetExportStatus::Failed;
  FleetFileWriter writer(file);
  if (!writeFleetLines(writer, choice, list)) {
    file.abandonUnencodable();
    return FleetExportStatus::Failed;
  }
  return file.close() ? FleetExportStatus::Written : FleetExportStatus::Failed;
}

}  // namespace veltra::comms
