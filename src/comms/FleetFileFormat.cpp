#include "comms/FleetFileFormat.h"

#include "comms/NumberText.h"
#include "comms/RecordLine.h"
#include "comms/VehicleFields.h"
#include "comms/Windows1252Lines.h"

namespace veltra::comms {

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

void FleetDataLine(const SituationRow& row, std::string& line) {
  const VehicleData& vehicle = row.vehicle;
  // The owner and the codes with their names come first; the other fields
  // follow in the order of a record line.
  static const VehicleField& ambito = VehicleFieldNamed("ambito");
  static const VehicleField& prop = VehicleFieldNamed("prop");
  line.assign(row.telaio).append(1, '\t').append(row.data).append(1, '\t');
  AppendFileText(prop, vehicle, line);
  line += '\t';
  AppendWholeNumber(row.azienda, line);
  line += '\t';
  line.append(row.companyName).append(1, '\t');
  AppendFileText(ambito, vehicle, line);
  line.append(1, '\t').append(row.ambitName);
  for (const VehicleField& field : VehicleFields) {
    if (&field == &ambito || &field == &prop) continue;
    line += '\t';
    AppendFileText(field, vehicle, line);
  }
}

std::optional<std::string> FleetLineRefusal(const FleetExportChoice& choice,
                                            const SituationList& list) {
  Windows1252Codec codec;
  for (const SituationRow& row : list.rows()) {
    if (!choice.filter.matches(row)) continue;
    auto refusal = VehicleLineRefusal(row.telaio, row.vehicle, codec);
    if (!refusal) refusal = TextLineRefusal(row.telaio, "regazi.denom", row.companyName, codec);
    if (!refusal) refusal = TextLineRefusal(row.telaio, "regprv.denom", row.ambitName, codec);
    if (refusal) return refusal;
  }
  return std::nullopt;
}

std::optional<std::string> FleetFileText(const FleetExportChoice& choice, SituationList& list) {
  Windows1252Lines lines;
  for (const std::string& line : FleetHeaderLines(choice))
    if (!lines.add(line)) return std::nullopt;
  list.sort();
  std::string line;
  for (const SituationRow* row : list.sorted()) {
    if (!choice.filter.matches(*row)) continue;
    FleetDataLine(*row, line);
    if (!lines.add(line)) return std::nullopt;
  }
  return lines.take();
}

}  // namespace veltra::comms
