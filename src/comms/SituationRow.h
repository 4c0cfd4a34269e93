#pragma once
// The state of one vehicle as of a date, with the company and ambit names
// joined in: the row of the fleet export and of the printed lists.

#include <cstdint>
#include <string>

namespace veltra::comms {

struct SituationRow {
  std::string telaio;
  std::string data;  // date of the history row that gave the state
  std::int32_t azienda = 0;
  std::string companyName;  // regazi.denom
  std::int32_t ambito = 0;
  std::string ambitName;  // regprv.denom
  std::string prop;
  std::string interno;
  std::string libretto;
  std::string targa;
  std::string prima;
  std::string tipo;
  std::string dtimm;
  std::string dest;
  std::string carroz;
  std::string aliment;
  std::int32_t sedere = 0;
  std::int32_t piedi = 0;
  std::int32_t handicap = 0;
  double lung = 0.0;
  double altezza = 0.0;
  std::int32_t aria = 0;
  std::int32_t pedana = 0;
  double prezzo = 0.0;
  double contrib = 0.0;
  std::string atto;
  double contrib2 = 0.0;
  std::string datini;
  std::string datfin;
  std::string datrad;

  friend bool operator==(const SituationRow&, const SituationRow&) = default;
};

// The vehicle lists' filling: keeps telaio, data, company and ambit codes and
// names, interno, targa, prima, tipo, dest, carroz, aliment, the three counts,
// lung, altezza, aria, pedana, datini and datfin of supplied; the other texts
// are empty and the amounts 0.0.
SituationRow ListFilling(const SituationRow& supplied);

// The financing list's filling: keeps telaio, data, company code and name,
// prop, libretto, targa, tipo, dtimm, the amounts, atto, datini, datfin and
// datrad of supplied; ambito, the counts, lung and altezza are -1, the flags
// 0 and the other texts empty.
SituationRow FinancingFilling(const SituationRow& supplied);

}  // namespace veltra::comms
