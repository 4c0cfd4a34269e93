#include "comms/FleetSituation.h"

#include "comms/DateInput.h"
#include "comms/VehicleQuery.h"
#include "db/FieldValueText.h"
#include "db/PlainText.h"
#include "db/QueryCursor.h"

namespace veltra::comms {

namespace {

// Column positions of the history query: then the vehicle block.
enum Column { Telaio, Data, Azienda, CompanyName, AmbitName, FirstVehicleField };

void selectHistoryUpTo(db::QueryCursor& query, const std::string& date) {
  query.SetSelect("storia.telaio, storia.data, storia.azienda, regazi.denom, regprv.denom, " +
                  VehicleFieldList("storia"));
  query.SetFrom("storia, regazi, regprv");
  query.SetWhere("storia.data <= #" + MonthDayYear(date) +
                 "# AND storia.azienda = regazi.codice AND storia.ambito = regprv.codice");
  query.SetOrderBy("storia.telaio, storia.data");
}

void readState(db::QueryCursor& query, SituationRow& row) {
  query.GetString(Telaio, row.telaio);
  db::TrimTrailingBlanks(row.telaio);
  query.GetString(Data, row.data);
  query.GetInt(Azienda, row.azienda);
  query.GetString(CompanyName, row.companyName);
  query.GetString(AmbitName, row.ambitName);
  ReadVehicleFields(query, FirstVehicleField, row.vehicle);
}

}  // namespace

bool LoadFleetSituation(db::DatabaseConnection& connection, const std::string& date,
                        SituationList& list) {
  db::QueryCursor query(&connection);
  selectHistoryUpTo(query, date);
  SituationRow row;
  for (bool found = query.Execute(); found; found = query.NextRow()) {
    readState(query, row);
    // The database tells chassis apart without regard to case (so does the
    // history's order): a later row spelling the chassis otherwise is the
    // same vehicle, kept under the spelling it was first registered with.
    if (list.size() > 0 && row.telaio != list.rows().back().telaio &&
        db::EqualsIgnoringCase(row.telaio, list.rows().back().telaio))
      row.telaio = list.rows().back().telaio;
    list.addOrMerge(row);
  }
  return !query.Failed();
}

}  // namespace veltra::comms
