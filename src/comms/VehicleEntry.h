#pragma once
// One vehicle as a company communication carries it: what one record line of
// a communication file holds and what applying it writes into bus and storia.
// The company code and the date belong to the owning Communication.

#include <string>

#include "comms/VehicleData.h"

namespace veltra::comms {

// The first column of an imported record line; entries read from the
// database are Var. It does not decide between insert and update.
enum class EntryKind : int { Var = 0, New = 1 };

struct VehicleEntry {
  EntryKind kind = EntryKind::Var;
  std::string telaio;
  VehicleData vehicle;

  friend bool operator==(const VehicleEntry&, const VehicleEntry&) = default;
};

}  // namespace veltra::comms
