#pragma once
// The state of one vehicle as of a date, with the company and ambit names
// joined in: the row of the fleet export and of the printed lists.

#include <cstdint>
#include <string>

#include "comms/VehicleData.h"

namespace veltra::comms {

struct SituationRow {
  std::string telaio;
  std::string data;  // date of the history row that gave the state
  std::int32_t azienda = 0;
  std::string companyName;  // regazi.denom
  std::string ambitName;    // regprv.denom of vehicle.ambito
  VehicleData vehicle;

  friend bool operator==(const SituationRow&, const SituationRow&) = default;
};

// The financing list's filling, made in place: the chassis, date, company
// with its name, and the vehicle fields the financing list prints stay;
// ambito, the counts, lung and altezza become -1, the flags 0 and the other
// texts empty.
void KeepFinancingFields(SituationRow& row);

}  // namespace veltra::comms
