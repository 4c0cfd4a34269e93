#include "comms/VehicleQuery.h"

#include "comms/VehicleFields.h"

namespace veltra::comms {

std::string VehicleFieldList(std::string_view table) {
  std::string list;
  for (const VehicleField& field : VehicleFields) {
    if (!list.empty()) list += ", ";
    if (!table.empty()) list.append(table).append(".");
    list += field.name;
  }
  return list;
}

namespace {

void readField(db::QueryCursor& query, int column, const VehicleField& field,
               VehicleData& vehicle) {
  switch (field.kind) {
    case FieldKind::Text:
      query.GetString(column, VehicleValue<std::string>(field, vehicle));
      return;
    case FieldKind::Whole:
      query.GetInt(column, VehicleValue<std::int32_t>(field, vehicle));
      return;
    case FieldKind::Flag: {
      std::int32_t yes = 0;  // the engine's -1 for Yes
      query.GetInt(column, yes);
      VehicleValue<std::int32_t>(field, vehicle) = yes != 0 ? 1 : 0;
      return;
    }
    case FieldKind::Length:
    case FieldKind::Height:
    case FieldKind::Amount:
      query.GetDouble(column, VehicleValue<double>(field, vehicle));
      return;
  }
}

}  // namespace

void ReadVehicleFields(db::QueryCursor& query, int first, VehicleData& vehicle) {
  int column = first;
  for (const VehicleField& field : VehicleFields) readField(query, column++, field, vehicle);
}

}  // namespace veltra::comms
