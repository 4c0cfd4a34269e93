#include "comms/FleetSituation.h"

#include "comms/DateInput.h"
#include "comms/VehicleQuery.h"
#include "db/FieldValueText.h"
#include "db/PlainText.h"
#include "db/QueryCursor.h"
#include "db/engine/EngineDatabase.h"

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
QueryColumns<SituationRow> wholeStateColumns() {
  QueryColumns<SituationRow> columns = {
      chassisColumn(std::string("storia.") + db::engine::FirstKeyColumn),
      TextColumn("storia.data", &SituationRow::data)};
  appendGroupColumns(columns);
  AppendVehicleColumns(columns, "storia", &SituationRow::vehicle);
  return columns;
}

// The chassis as its latest row spells it: the same chassis as its first
// spelling but for case, which telling the states apart ignores, without a
// second seek in the history per vehicle.
QueryColumns<SituationRow> countedStateColumns(std::span<const std::string_view> vehicleFields) {
  QueryColumns<SituationRow> columns = {chassisColumn("storia.telaio")};
  appendGroupColumns(columns);
  for (std::string_view name : vehicleFields)
    columns.push_back(VehicleColumn("storia", VehicleFieldNamed(name), &SituationRow::vehicle));
  return columns;
}

// One row per vehicle in chassis order: its latest history row on or before
// the day, read the way the engine does that fastest.
void selectStatesOn(db::QueryCursor& query, const db::DatabaseConnection& connection,
                    const std::string& day, const QueryColumns<SituationRow>& columns) {
  const db::engine::LatestRowsSql states =
      connection.EngineDatabase()->latestRows({"storia", "bus", "telaio", "data", day, "storia"});
  query.SetSelect(SelectList(columns));
  query.SetFrom(states.from + ", regazi, regprv");
  query.SetWhere("storia.azienda = regazi.codice AND storia.ambito = regprv.codice");
  query.SetOrderBy(states.orderBy);
}

bool forEachState(db::DatabaseConnection& connection, const std::string& day,
                  const QueryColumns<SituationRow>& columns,
                  const std::function<void(SituationRow&)>& take) {
  db::QueryCursor query(&connection);
  selectStatesOn(query, connection, day, columns);
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
  return forEachState(connection, "#" + MonthDayYear(date) + "#", wholeStateColumns(), take);
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
