#pragma once
// The vehicle fields as one block of a select list over bus or storia, read
// back into a VehicleData. Queries put the block after their own leading
// columns and say where it starts.

#include <string>
#include <string_view>

#include "comms/VehicleData.h"
#include "db/QueryCursor.h"

namespace veltra::comms {

// "ambito, prop, …, datrad", each prefixed with "table." when a table is given.
std::string VehicleFieldList(std::string_view table = {});

// Reads the block that starts at column first of the query's current row.
void ReadVehicleFields(db::QueryCursor& query, int first, VehicleData& vehicle);

}  // namespace veltra::comms
