#include "comms/SituationRow.h"

namespace veltra::comms {

SituationRow ListFilling(const SituationRow& supplied) {
  SituationRow row;
  row.telaio = supplied.telaio;
  row.data = supplied.data;
  row.azienda = supplied.azienda;
  row.companyName = supplied.companyName;
  row.ambito = supplied.ambito;
  row.ambitName = supplied.ambitName;
  row.interno = supplied.interno;
  row.targa = supplied.targa;
  row.prima = supplied.prima;
  row.tipo = supplied.tipo;
  row.dest = supplied.dest;
  row.carroz = supplied.carroz;
  row.aliment = supplied.aliment;
  row.sedere = supplied.sedere;
  row.piedi = supplied.piedi;
  row.handicap = supplied.handicap;
  row.lung = supplied.lung;
  row.altezza = supplied.altezza;
  row.aria = supplied.aria;
  row.pedana = supplied.pedana;
  row.datini = supplied.datini;
  row.datfin = supplied.datfin;
  return row;
}

SituationRow FinancingFilling(const SituationRow& supplied) {
  SituationRow row;
  row.telaio = supplied.telaio;
  row.data = supplied.data;
  row.azienda = supplied.azienda;
  row.companyName = supplied.companyName;
  row.ambito = -1;
  row.prop = supplied.prop;
  row.libretto = supplied.libretto;
  row.targa = supplied.targa;
  row.tipo = supplied.tipo;
  row.dtimm = supplied.dtimm;
  row.sedere = -1;
  row.piedi = -1;
  row.handicap = -1;
  row.lung = -1.0;
  row.altezza = -1.0;
  row.prezzo = supplied.prezzo;
  row.contrib = supplied.contrib;
  row.atto = supplied.atto;
  row.contrib2 = supplied.contrib2;
  row.datini = supplied.datini;
  row.datfin = supplied.datfin;
  row.datrad = supplied.datrad;
  return row;
}

}  // namespace veltra::comms
