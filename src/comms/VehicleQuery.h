#pragma once
// The vehicle fields that bus and storia share, from ambito to datrad, as
// one block of a select list and read back into a VehicleEntry or a
// SituationRow (both name them alike). Queries put the block after their own
// leading columns and say where it starts.

#include <string>
#include <string_view>

#include "db/QueryCursor.h"

namespace veltra::comms {

// "ambito, prop, …, datrad", each prefixed with "table." when a table is given.
std::string VehicleFieldList(std::string_view table = {});

// Reads the block that starts at column first of the query's current row.
template <class Row>
void ReadVehicleFields(db::QueryCursor& query, int first, Row& row) {
  int column = first;
  const auto text = [&](std::string& out) { query.GetString(column++, out); };
  const auto count = [&](std::int32_t& out) { query.GetInt(column++, out); };
  const auto number = [&](double& out) { query.GetDouble(column++, out); };
  const auto flag = [&](std::int32_t& out) {
    std::int32_t yes = 0;  // the engine's -1 for Yes
    query.GetInt(column++, yes);
    out = yes != 0 ? 1 : 0;
  };
  count(row.ambito);
  text(row.prop);
  text(row.interno);
  text(row.libretto);
  text(row.targa);
  text(row.prima);
  text(row.tipo);
  text(row.dtimm);
  text(row.dest);
  text(row.carroz);
  text(row.aliment);
  count(row.sedere);
  count(row.piedi);
  count(row.handicap);
  number(row.lung);
  number(row.altezza);
  flag(row.aria);
  flag(row.pedana);
  number(row.prezzo);
  number(row.contrib);
  number(row.contrib2);
  text(row.atto);
  text(row.datini);
  text(row.datfin);
  text(row.datrad);
}

}  // namespace veltra::comms
