#include "comms/FleetSituation.h"

#include "comms/DateInput.h"
#include "comms/VehicleQuery.h"
#include "db/FieldValueText.h"
#include "db/PlainText.h"
#include "db/QueryCursor.h"

namespace veltra::comms {

namespace {

// Chassis that differ only in trailing blanks are one chassis.
QueryColumn<SituationRow> chassisColumn(std::string expression) {
  return {std::move(expression), [](db::QueryCursor& query, int column, SituationRow& row) {
            query.GetString(column, row.telaio);
            db::TrimTrailingBlanks(row.telaio);
          }};
}

// The company and the ambit with their names.
void appendGroupColumns(QueryColumns<SituationRow>& columns) {
  columns.push_back(WholeColumn("storia.azienda", &SituationRow::azienda));
  columns.push_back(TextColumn("regazi.denom", &SituationRow::companyName));
  columns.push_back(TextColumn("regprv.denom", &SituationRow::ambitName));
}

// The chassis is spelled as in the vehicle's first history row on or before
// the day: the history tells chassis apart without regard to case, and the
// state of a chassis keeps the spelling it was first registered with.
QueryColumns<SituationRow> wholeStateColumns(const std::string& day) {
  QueryColumns<SituationRow> columns = {
      chassisColumn("(SELECT earliest.telaio FROM storia AS earliest WHERE earliest.telaio ="
                    " bus.telaio AND earliest.data <= " +
                    day + " ORDER BY earliest.data LIMIT 1)"),
      TextColumn("storia.data", &SituationRow::data)};
  appendGroupColumns(columns);
  AppendVehicleColumns(columns, "storia", &SituationRow::vehicle);
  return columns;
}

// The chassis as the register keys it: the same chassis as its first
// spelling but for case, which telling the states apart ignores, without a
// second seek in the history per vehicle.
QueryColumns<SituationRow> countedStateColumns(std::span<const std::string_view> vehicleFields) {
  QueryColumns<SituationRow> columns = {chassisColumn("bus.telaio")};
  appendGroupColumns(columns);
  for (std::string_view name : vehicleFields)
    columns.push_back(VehicleColumn("storia", VehicleFieldNamed(name), &SituationRow::vehicle));
  return columns;
}

// One row per vehicle: its latest history row on or before the day, found by
// one seek in the history's (chassis, date) index, so the cost follows the
// vehicles and not the length of the history.
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

bool forEachState(db::DatabaseConnection& connection, const std::string& day,
                  const QueryColumns<SituationRow>& columns,
                  const std::function<void(SituationRow&)>& take) {
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

}  // namespace

bool ForEachFleetState(db::DatabaseConnection& connection, const std::string& date,
                       const std::function<void(SituationRow&)>& take) {
  const std::string day = "#" + MonthDayYear(date) + "#";
  return forEachState(connection, day, wholeStateColumns(day), take);
}

bool ForEachCountedState(db::DatabaseConnection& connection, const std::string& date,
                         std::span<const std::string_view> vehicleFields,
                         const std::function<void(SituationRow&)>& take) {
  return forEachState(connection, "#" + MonthDayYear(date) + "#",
                      countedStateColumns(vehicleFields), take);
}

bool LoadFleetSituation(db::DatabaseConnection& connection, const std::string& date,
                        SituationList& list) {
  return ForEachFleetState(connection, date,
                           [&list](SituationRow& state) { list.addOrMerge(std::move(state)); });
}

}  // namespace veltra::comms
