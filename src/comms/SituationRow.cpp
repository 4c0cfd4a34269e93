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

// The list fills one row per vehicle listed: the fields it clears are found once.
void KeepFinancingFields(SituationRow& row) {
  static const auto others =
      VehicleFieldsBesides({"prop", "libretto", "targa", "tipo", "dtimm", "prezzo", "contrib",
                            "atto", "contrib2", "datini", "datfin", "datrad"});
  static const VehicleData defaults = financingDefaults();
  row.ambitName.clear();
  ResetFields(row.vehicle, others, defaults);
}

}  // namespace veltra::comms
