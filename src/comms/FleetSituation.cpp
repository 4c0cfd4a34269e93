#include "comms/FleetSituation.h"

#include "comms/DateInput.h"
#include "comms/VehicleQuery.h"
#include "db/FieldValueText.h"
#include "db/PlainText.h"
#include "db/QueryCursor.h"

namespace veltra::comms {

namespace {

// One row per vehicle: its latest history row on or before the day, found by
// one seek in the history's (chassis, date) index, so the cost follows the
// vehicles and not the length of the history. The chassis is spelled as in
// the vehicle's first history row on or before the day: the history tells
// chassis apart without regard to case, and the state of a chassis keeps the
// spelling it was first registered with.
QueryColumns<SituationRow> stateColumns(const std::string& day) {
  QueryColumns<SituationRow> columns = {
      {"(SELECT earliest.telaio FROM storia AS earliest WHERE earliest.telaio = bus.telaio"
       " AND earliest.data <= " +
           day + " ORDER BY earliest.data LIMIT 1)",
       [](db::QueryCursor& query, int column, SituationRow& row) {
         query.GetString(column, row.telaio);
         db::TrimTrailingBlanks(row.telaio);
       }},
      TextColumn("storia.data", &SituationRow::data),
      WholeColumn("storia.azienda", &SituationRow::azienda),
      TextColumn("regazi.denom", &SituationRow::companyName),
      TextColumn("regprv.denom", &SituationRow::ambitName),
  };
  AppendVehicleColumns(columns, "storia", &SituationRow::vehicle);
  return columns;
}

void selectStatesOn(db::QueryCursor& query, const std::string& day,
                    const QueryColumns<SituationRow>& columns) {
  query.SetSelect(SelectList(columns));
  query.SetFrom("bus, storia, regazi, regprv");
  query.SetWhere(
      "storia.telaio = bus.telaio AND storia.data = (SELECT MAX(latest.data)"
      " FROM storia AS latest WHERE latest.telaio = bus.telaio AND latest.data <= " +
      day + ") AND storia.azienda = regazi.codice AND storia.ambito = regprv.codice");
  query.SetOrderBy("bus.telaio");
}

}  // namespace

bool ForEachFleetState(db::DatabaseConnection& connection, const std::string& date,
                       const std::function<void(SituationRow&)>& take) {
  const std::string day = "#" + MonthDayYear(date) + "#";
  const QueryColumns<SituationRow> columns = stateColumns(day);
  db::QueryCursor query(&connection);
  selectStatesOn(query, day, columns);
  SituationRow row;
  SituationRow held;
  bool holding = false;
  for (bool found = query.Execute(); found; found = query.NextRow()) {
    ReadColumns(query, columns, row);
    // Chassis that differ only in trailing blanks are one chassis once
    // trimmed, and one in another case is the same vehicle: the later state
    // replaces the earlier under the spelling that came first.
    if (holding && db::EqualsIgnoringCase(row.telaio, held.telaio))
      row.telaio.swap(held.telaio);
    else if (holding)
      take(held);
    held = std::move(row);
    holding = true;
  }
  if (holding) take(held);
  return !query.Failed();
}

bool LoadFleetSituation(db::DatabaseConnection& connection, const std::string& date,
                        SituationList& list) {
  return ForEachFleetState(connection, date,
                           [&list](SituationRow& state) { list.addOrMerge(std::move(state)); });
}

}  // namespace veltra::comms
