#include "reports/QueryColumns.h"

#include "comms/NumberText.h"
#include "db/FieldValueText.h"

namespace veltra::reports {

namespace {

// Into the text's own room: a list reads its rows into the same one.
void readTrimmed(db::QueryCursor& query, int position, std::string& text) {
  query.GetString(position, text);
  db::TrimTrailingBlanks(text);
}

}  // namespace

std::string TrimmedColumn(db::QueryCursor& query, int position) {
  std::string text;
  readTrimmed(query, position, text);
  return text;
}

std::string RenderedColumn(db::QueryCursor& query, int position) {
  std::string text;
  query.GetText(position, text);
  return text;
}

comms::QueryColumn<comms::SituationRow> TrimmedTextColumn(
    std::string expression, std::string comms::SituationRow::*member) {
  return {std::move(expression),
          [member](db::QueryCursor& query, int column, comms::SituationRow& row) {
            readTrimmed(query, column, row.*member);
          }};
}

namespace {

void readShownVehicleField(db::QueryCursor& query, int column, const comms::VehicleField& field,
                           comms::VehicleData& vehicle) {
  switch (field.kind) {
    case comms::FieldKind::Text:
      readTrimmed(query, column, comms::VehicleValue<std::string>(field, vehicle));
      return;
    case comms::FieldKind::Flag:
      comms::VehicleValue<std::int32_t>(field, vehicle) =
          comms::FlagFromDatabaseText(RenderedColumn(query, column));
      return;
    default:
      comms::ReadStoredVehicleField(query, column, field, vehicle);
  }
}

}  // namespace

SituationColumns ListedVehicleColumns(std::initializer_list<std::string_view> busFields) {
  SituationColumns columns = {
      TrimmedTextColumn("bus.telaio", &comms::SituationRow::telaio),
      TrimmedTextColumn("bus.data", &comms::SituationRow::data),
      comms::WholeColumn("bus.azienda", &comms::SituationRow::azienda),
      TrimmedTextColumn("regazi.denom", &comms::SituationRow::companyName),
  };
  for (std::string_view name : busFields)
    columns.push_back(comms::VehicleColumn("bus", comms::VehicleFieldNamed(name),
                                           &comms::SituationRow::vehicle, readShownVehicleField));
  return columns;
}

}  // namespace veltra::reports
