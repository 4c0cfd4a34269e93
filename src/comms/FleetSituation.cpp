#include "comms/FleetSituation.h"

#include "comms/DateInput.h"
#include "comms/NumberText.h"
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

// The fleet file's columns in its order: the chassis (spelled as in the
// vehicle's first history row on or before the day: the history tells
// chassis apart without regard to case, and the state of a chassis keeps the
// spelling it was first registered with), the date of the state, the owner,
// the company and the ambit each with its name, then the other vehicle
// fields in the order of a record line. Each column is written as its kind
// is; the company and the ambit codes are also kept for the filters.
enum class Kept { None, Company, Ambit };

struct FleetColumns {
  QueryColumns<SituationRow> reads;  // the state of a line that does not fit the file as it is
  std::vector<FieldKind> kinds;
  std::vector<Kept> kept;

  void add(QueryColumn<SituationRow> read, FieldKind kind, Kept keep = Kept::None) {
    reads.push_back(std::move(read));
    kinds.push_back(kind);
    kept.push_back(keep);
  }
};

FleetColumns fleetFileColumns() {
  const VehicleField& ambito = VehicleFieldNamed("ambito");
  const VehicleField& prop = VehicleFieldNamed("prop");
  FleetColumns columns;
  columns.add(chassisColumn(std::string("storia.") + db::engine::FirstKeyColumn), FieldKind::Text);
  columns.add(TextColumn("storia.data", &SituationRow::data), FieldKind::Text);
  columns.add(VehicleColumn("storia", prop, &SituationRow::vehicle), prop.kind);
  columns.add(WholeColumn("storia.azienda", &SituationRow::azienda), FieldKind::Whole,
              Kept::Company);
  columns.add(TextColumn("regazi.denom", &SituationRow::companyName), FieldKind::Text);
  columns.add(VehicleColumn("storia", ambito, &SituationRow::vehicle), ambito.kind, Kept::Ambit);
  columns.add(TextColumn("regprv.denom", &SituationRow::ambitName), FieldKind::Text);
  for (const VehicleField& field : VehicleFields)
    if (&field != &ambito && &field != &prop)
      columns.add(VehicleColumn("storia", field, &SituationRow::vehicle), field.kind);
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

bool ForEachCountedState(db::DatabaseConnection& connection, const std::string& date,
                         std::span<const std::string_view> vehicleFields,
                         const std::function<void(SituationRow&)>& take) {
  return forEachState(connection, "#" + MonthDayYear(date) + "#",
                      countedStateColumns(vehicleFields), take);
}

namespace {

// The query's current row as the next line: each column straight into the
// line's text; the state is read as well only for a line that is not plain.
void addLine(db::QueryCursor& query, const FleetColumns& columns, std::string& chassis,
             FleetLines& lines) {
  chassis.clear();
  query.AppendString(0, chassis);
  db::TrimTrailingBlanks(chassis);
  lines.begin(chassis);
  std::string& text = lines.text();
  std::int32_t codes[3] = {};  // by Kept
  for (std::size_t i = 1; i < columns.kinds.size(); ++i) {
    lines.next();
    const int column = static_cast<int>(i);
    if (columns.kept[i] == Kept::None) {
      AppendStoredFileText(query, column, columns.kinds[i], text);
    } else {
      std::int32_t& code = codes[static_cast<int>(columns.kept[i])];
      query.GetInt(column, code);
      AppendWholeNumber(code, text);
    }
  }
  if (lines.end(codes[static_cast<int>(Kept::Company)], codes[static_cast<int>(Kept::Ambit)]))
    return;
  SituationRow state;
  ReadColumns(query, columns.reads, state);
  lines.keep(std::move(state));
}

}  // namespace

bool LoadFleetLines(db::DatabaseConnection& connection, const std::string& date,
                    FleetLines& lines) {
  const FleetColumns columns = fleetFileColumns();
  db::QueryCursor query(&connection);
  selectStatesOn(query, connection, "#" + MonthDayYear(date) + "#", columns.reads);
  std::string chassis;
  for (bool found = query.Execute(); found; found = query.NextRow())
    addLine(query, columns, chassis, lines);
  return !query.Failed();
}

}  // namespace veltra::comms
