#include "comms/SituationRow.h"

#include <utility>

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

// The lists fill one row per vehicle listed: their fields are found once.
SituationRow ListFilling(SituationRow supplied) {
  static const auto kept = VehicleFieldsNamed(
      {"ambito", "interno", "targa", "prima", "tipo", "dest", "carroz", "aliment", "sedere",
       "piedi", "handicap", "lung", "altezza", "aria", "pedana", "datini", "datfin"});
  return SituationRow{std::move(supplied.telaio),
                      std::move(supplied.data),
                      supplied.azienda,
                      std::move(supplied.companyName),
                      std::move(supplied.ambitName),
                      KeepFields(std::move(supplied.vehicle), kept)};
}

SituationRow FinancingFilling(SituationRow supplied) {
  static const auto kept =
      VehicleFieldsNamed({"prop", "libretto", "targa", "tipo", "dtimm", "prezzo", "contrib", "atto",
                          "contrib2", "datini", "datfin", "datrad"});
  return SituationRow{std::move(supplied.telaio),
                      std::move(supplied.data),
                      supplied.azienda,
                      std::move(supplied.companyName),
                      {},
                      KeepFields(std::move(supplied.vehicle), kept, financingDefaults())};
}

}  // namespace veltra::comms
