#include "comms/FleetFileFormat.h"

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

std::optional<std::string> FleetFileText(const FleetExportChoice& choice, const FleetLines& lines) {
  Windows1252Lines text;
  for (const std::string& line : FleetHeaderLines(choice))
    if (!text.add(line)) return std::nullopt;
  if (!lines.addSorted(choice.filter, text)) return std::nullopt;
  return text.take();
}

}  // namespace veltra::comms
