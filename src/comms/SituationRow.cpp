#include "comms/SituationRow.h"

#include "comms/VehicleFields.h"

namespace veltra::comms {

namespace {

// What the financing list leaves unknown reads as -1, never as a real 0.
VehicleData financingDefaults() {
  VehicleData vehicle;
  vehicle.ambito = vehicle.sedere = vehicle.piedi = vehicle.handicap = -1;
  vehicle.lung = vehicle.altezza = -1.0;
  return vehicle;
}

}  // namespace

SituationRow ListFilling(const SituationRow& supplied) {
  SituationRow row{supplied.telaio,      supplied.data,      supplied.azienda,
                   supplied.companyName, supplied.ambitName, {}};
  row.vehicle =
      KeepFields(supplied.vehicle, {"ambito", "interno", "targa", "prima", "tipo", "dest", "carroz",
                                    "aliment", "sedere", "piedi", "handicap", "lung", "altezza",
                                    "aria", "pedana", "datini", "datfin"});
  return row;
}

SituationRow FinancingFilling(const SituationRow& supplied) {
  SituationRow row{supplied.telaio, supplied.data, supplied.azienda, supplied.companyName, {}, {}};
  row.vehicle = KeepFields(supplied.vehicle,
                           {"prop", "libretto", "targa", "tipo", "dtimm", "prezzo", "contrib",
                            "atto", "contrib2", "datini", "datfin", "datrad"},
                           financingDefaults());
  return row;
}

}  // namespace veltra::comms
