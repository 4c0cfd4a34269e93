#include "comms/VehicleQuery.h"

namespace veltra::comms {

void ReadStoredVehicleField(db::QueryCursor& query, int column, const VehicleField& field,
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

}  // namespace veltra::comms
